#include "app/Startup.h"

int main(int argc, char** argv) { return quillfen::_Main(argc, argv); }
