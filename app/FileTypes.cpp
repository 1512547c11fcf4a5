#include "app/FileTypes.h"

namespace quillfen::FileTypes {

void _Initialize() {
    pTextPlain = std::make_unique<FileType>();
    pTextPlain->Name = "text/plain";
    pTextPlain->Extensions = ".asc;.ascii;.bas;.c;.class;.cp;.cpp;.h;.hp;.hpp;.i3;.java;.m2;.m3;.mak;.text;.txt";
    pTextPlain->MacType = "TEXT";
    pTextPlain->MacCreator = "????";
}

void Release() { pTextPlain.reset(); }

} // namespace quillfen::FileTypes
