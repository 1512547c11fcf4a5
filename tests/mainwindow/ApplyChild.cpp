// Applies the edit log in the file named by its argument to $HOME's bookmarks file through the main
// window, as "Apply Change" does; the kill test runs it and kills it at random moments.
#include "framework/Runtime.h"
#include "framework/WindowRegistry.h"
#include "mainwindow/Listwin.h"
#include "tests/support/TempHome.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::string log = testsupport::ReadFile(argv[1]);
    fw::Runtime runtime(argc, argv);
    quillfen::Listwin& window = fw::Instance<quillfen::Listwin>();
    window.editUIs = log;
    return window.ApplyChanges() ? 0 : 1;
}
