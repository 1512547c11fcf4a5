// The program's start-up and shut-down, in their fixed order.
#pragma once

namespace quillfen {

void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _MakeDefaultView();
// Releases the module globals after the event loop has returned.
void ShutDown();

// Runs the whole program: start-up, the event loop until Quit, shut-down. Returns the exit status.
int _Main(int argc, char** argv);

} // namespace quillfen
