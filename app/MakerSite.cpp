#include "app/MakerSite.h"

namespace quillfen {

std::string MakerHomePage() { return QUILLFEN_SITE; }

} // namespace quillfen
