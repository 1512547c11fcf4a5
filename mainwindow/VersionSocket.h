// The main window's socket for the maker's version page: hands the page to the handler the window binds.
#pragma once

#include "checker/HTTPSocket.h"

#include <functional>
#include <string>

namespace quillfen {

class VersionSocket : public HTTPSocket {
public:
    std::function<void(const std::string& url, int status, const InternetHeaders& headers,
                       const std::string& page)>
        PageReceived;

protected:
    void Event_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                            const std::string& page) override {
        if (PageReceived)
            PageReceived(url, status, headers, page);
    }
};

} // namespace quillfen
