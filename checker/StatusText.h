// The texts a scan shows: a result code's Status text, its Code cell, and the progress line with its
// estimate of the time left.
#pragma once

#include <optional>
#include <string>

namespace quillfen {

// Result codes share one number space: HTTP status codes, socket error codes (100 to 108) and the
// program's own time-out.
constexpr int kTimeoutCode = 999;

std::string StatusText(int code);
// The Code cell's text for a result, or nullopt when the cell keeps what the scheduler put there.
// timeOut is the time-out setting as typed; showOKcodes "showcodes" gives 2xx rows their code too.
std::optional<std::string> CodeCellText(int code, const std::string& timeOut, const std::string& showOKcodes);
// The estimate for `remaining` seconds.
std::string TimeLeftText(double remaining);
// Two lines: the count of results against the rows in scope, then the time left.
std::string ProgressText(int scansTodo, int checked, double elapsedSeconds);

} // namespace quillfen
