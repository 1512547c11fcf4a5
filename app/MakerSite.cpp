#include "app/MakerSite.h"

#include "framework/ui/Modal.h"

#include <utility>

namespace quillfen {

namespace {
std::string& Site() {
    static std::string site = QUILLFEN_SITE;
    return site;
}
std::string& OlderPage() {
    static std::string page = QUILLFEN_OLDER_CODES_PAGE;
    return page;
}
} // namespace

std::string MakerHomePage() { return Site(); }

void SetMakerSite(std::string base) { Site() = std::move(base); }

std::string MakerPage(const std::string& path) {
    std::string base = Site();
    if (base.empty())
        return {};
    // The base may be named with or without its closing slash.
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base + path;
}

std::string OlderCodesPage() { return OlderPage(); }

void SetOlderCodesPage(std::string address) { OlderPage() = std::move(address); }

void ShowMakerPage(const std::string& address) {
    if (!address.empty())
        fw::ShowURL(address);
}

} // namespace quillfen
