#include "checker/StatusText.h"

#include "framework/text/Text.h"

#include <utility>

namespace quillfen {

namespace {

bool IsOk(int code) {
    return code >= 200 && code <= 299;
}

const char* ExactText(int code) {
    static constexpr std::pair<int, const char*> kTexts[] = {
        {100, "Open Driver Error"},
        {101, ""},
        {102, "Lost Connection"},
        {103, "Name Resolution Error"},
        {105, "Address In Use Error"},
        {106, "Invalid State Error"},
        {107, "Invalid Port Error"},
        {108, "Out Of Memory Error"},
        {300, "Multiple Choices"},
        {301, "Moved Permanently"},
        {302, "Redirect: 'Found'"},
        {303, "Redirect: 'See Other'"},
        {304, "Redirect: 'Not Modified'"},
        {305, "Redirect: 'Use Proxy'"},
        {307, "Redirect: 'Temporary'"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {402, "Payment Required"},
        {403, "Forbidden"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {406, "Not Acceptable"},
        {407, "Proxy Authorization Req."},
        {408, "Request Timeout"},
        {kTimeoutCode, "Timeout"},
    };
    for (const auto& [number, text] : kTexts)
        if (number == code)
            return text;
    return nullptr;
}

} // namespace

std::string StatusText(int code) {
    if (const char* text = ExactText(code))
        return text;
    if (IsOk(code))
        return "\u2714";
    if (code >= 409 && code <= 499)
        return "Client Error";
    if (code >= 500 && code <= 599)
        return "Server Error";
    return "Unspecified Error";
}

std::optional<std::string> CodeCellText(int code, const std::string& timeOut,
                                        const std::string& showOKcodes) {
    if (code == kTimeoutCode)
        return timeOut + " sec.";
    if (IsOk(code) && showOKcodes != "showcodes")
        return std::nullopt;
    return fw::Str(code);
}

std::string TimeLeftText(double remaining) {
    if (remaining > 70)
        return "About " + fw::Format(remaining / 60, "#") + " min. left";
    if (remaining > 50)
        return "About one min. left ";
    if (remaining > 35)
        return "Less than one min. left ";
    if (remaining > 25)
        return "About  30 sec. left";
    if (remaining > 15)
        return "About  20 sec. left";
    if (remaining > 7)
        return "About 10 sec. left";
    return "Less than 5 sec. left";
}

std::string ProgressText(int scansTodo, int checked, double elapsedSeconds) {
    // With nothing in scope the share done is infinite and the estimate comes out as -elapsed.
    const double remaining =
        scansTodo == 0 ? -elapsedSeconds : elapsedSeconds / (double(checked) / scansTodo) - elapsedSeconds;
    return fw::Str(scansTodo) + " bookmarks, " + fw::Str(checked) + " checked." + fw::Chr(13) +
           TimeLeftText(remaining);
}

} // namespace quillfen
