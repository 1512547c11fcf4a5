#include "app/MakerSite.h"

#include <utility>

namespace quillfen {

namespace {
std::string& Site() {
    static std::string site = QUILLFEN_SITE;
    return site;
}
} // namespace

std::string MakerHomePage() { return Site(); }

void SetMakerSite(std::string base) { Site() = std::move(base); }

} // namespace quillfen
