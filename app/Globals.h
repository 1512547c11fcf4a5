// Settings held for the whole run, as texts, and converted to numbers where they are used.
#pragma once

#include <string>

namespace quillfen::Globals {

inline bool AquaAvailable = false;
inline std::string timeOut;
inline std::string showOKcodes;
inline std::string aquaOrmetal;
inline std::string versionDetails;
inline std::string proxyUse;
inline std::string proxyURL;
inline std::string proxyPort;
inline std::string proxyUser;
inline std::string proxyPass;
inline std::string simultSocks;
// The preferences record's third field, carried unchanged by every reader and writer.
inline std::string carriedField;

// Back to the state at start-up (shut-down, and tests).
void Release();

} // namespace quillfen::Globals
