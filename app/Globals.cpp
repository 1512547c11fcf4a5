#include "app/Globals.h"

namespace quillfen::Globals {

void Release() {
    AquaAvailable = false;
    for (std::string* s : {&timeOut, &showOKcodes, &aquaOrmetal, &versionDetails, &proxyUse, &proxyURL,
                           &proxyPort, &proxyUser, &proxyPass, &simultSocks, &carriedField})
        s->clear();
}

} // namespace quillfen::Globals
