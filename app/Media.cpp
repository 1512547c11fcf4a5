#include "app/Media.h"

namespace quillfen::Media {
void Release() {}
} // namespace quillfen::Media
