// Asking Safari to quit before its bookmarks file is rewritten.
#pragma once

namespace quillfen {

// Sends Safari the quit request, or runs the scripting fallback when the request cannot be made; when that
// fails too, beeps and tells the user to quit Safari. Waits for nothing: Safari may still be running.
void AskSafariToQuit();

} // namespace quillfen
