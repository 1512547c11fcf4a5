// The maker's web server, named when the program is built.
#pragma once

#include <string>

namespace quillfen {

// The maker's home page; empty when no server is named (then the maker's links do nothing).
std::string MakerHomePage();

// Names another server for the rest of the run, so that tests can point the maker's links and the
// version check at their own loopback server; an empty text means no server.
void SetMakerSite(std::string base);

// The address of the page at `path` ("/downloads/...") on the maker's server; empty when none is named.
std::string MakerPage(const std::string& path);

// An older copy of the status-code explanations, kept on another host; empty when none is named.
std::string OlderCodesPage();
// Names another older copy for the rest of the run (tests); an empty text means none.
void SetOlderCodesPage(std::string address);

// Opens the address in the user's web browser; an empty one (no server named) does nothing.
void ShowMakerPage(const std::string& address);

} // namespace quillfen
