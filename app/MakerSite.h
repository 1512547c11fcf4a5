// The maker's web server, named when the program is built.
#pragma once

#include <string>

namespace quillfen {

// The maker's home page; empty when no server is named (then the maker's links do nothing).
std::string MakerHomePage();

// Names another server for the rest of the run, so that tests can point the maker's links and the
// version check at their own loopback server; an empty text means no server.
void SetMakerSite(std::string base);

} // namespace quillfen
