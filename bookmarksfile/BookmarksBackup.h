// The backup copy offered before the bookmarks file is rewritten, and putting a saved copy back.
#pragma once

#include "framework/files/FolderItem.h"

namespace quillfen {

// Asks where to save a copy of `bookmarks` and copies it there. True when the rewrite may go on: the copy
// was saved or the user declined one; false when the copy failed, which has been reported.
bool OfferBackup(const fw::FolderItem& bookmarks);

// Asks for a saved copy and, when plutil and the reader take it as a bookmarks file, copies it over
// `bookmarks` whole, so that the file is never missing; reports the outcome. A cancelled dialog, or a
// copy that is no bookmarks file, changes nothing.
void RestoreFromCopy(const fw::FolderItem& bookmarks);

} // namespace quillfen
