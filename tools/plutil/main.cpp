// plutil -convert xml1 FILE: our stand-in for the Mac tool of that name.
#include "tools/plutil/PlistConvert.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    // The file operand is taken literally, so a name beginning with "-" is still a file.
    if (argc != 4 || std::strcmp(argv[1], "-convert") != 0 || std::strcmp(argv[2], "xml1") != 0) {
        std::cerr << "usage: plutil -convert xml1 FILE\n"
                     "Converts a binary or XML property list in place to XML.\n";
        return 2;
    }
    const plutil::ConvertResult result = plutil::ConvertToXml(argv[3]);
    if (!result.ok) {
        std::cerr << "plutil: " << result.error << '\n';
        return 1;
    }
    return 0;
}
