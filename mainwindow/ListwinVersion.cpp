// The newer-version check: the version page requested as the main window opens, compared when it arrives.
#include "app/Globals.h"
#include "app/MakerSite.h"
#include "dialogs/alertDownloadWin.h"
#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/Modal.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <string>
#include <vector>

namespace quillfen {
namespace {

// Major, minor and bug-fix numbers written one after the other: 0.9.3 gives "093"; empty with no application.
std::string OwnVersionDigits() {
    const fw::Application* app = fw::Application::Instance();
    if (!app)
        return {};
    return std::to_string(app->MajorVersion) + std::to_string(app->MinorVersion) +
           std::to_string(app->BugVersion);
}

} // namespace

// Without a maker's site there is nothing to ask; the answer comes as an event, never blocking the window.
void Listwin::startVersionCheck() {
    const std::string url = MakerPage("/vessmor/version.txt");
    if (url.empty())
        return;
    versionHTTPSock.PageReceived = [this](const std::string& pageURL, int status,
                                          const InternetHeaders& headers, const std::string& page) {
        versionHTTPSock_PageReceived(pageURL, status, headers, page);
    };
    versionHTTPSock.Get(url);
}

void Listwin::versionHTTPSock_PageReceived(const std::string&, int, const InternetHeaders&,
                                           const std::string& page) {
    // The client stops reading at its cap and hands over what it has: such a page is cut short, not a version
    // page. A page for a window that is already closed is no one's business.
    if (page.size() >= HTTPSocket::kMaxPageBytes || IsClosed())
        return;
    readVersion(page);
}

void Listwin::readVersion(const std::string& page) {
    const std::vector<std::string> fields = fw::SplitB(page, "*");
    const std::size_t n = fields.size();
    const std::string remote = n >= 2 ? fields[n - 2] : std::string();
    Globals::versionDetails = n >= 1 ? fields[n - 1] : std::string();
    const std::string own = OwnVersionDigits();
    if (!own.empty() && fw::Val(own) < fw::Val(remote)) {
        fw::Beep();
        fw::Instance<alertDownloadWin>().Show();
    }
}

} // namespace quillfen
