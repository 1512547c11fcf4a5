// A dispatched row's check socket: shows the request's progress in the row and hands the response's
// status, or the socket's error, to the row's worker.
#pragma once

#include "checker/HTTPSocket.h"

namespace quillfen {

class threadClass;

class myHTTPClass : public HTTPSocket {
public:
    myHTTPClass(threadClass& worker, int row) : scanTransportBHC(row), worker_(worker) {}

    const int scanTransportBHC;

protected:
    void Event_Connected() override;
    // Shows that the server asked for credentials; offers none, so the 401 ends the row.
    bool Event_AuthenticationRequired(const InternetHeaders& headers, std::string& user,
                                      std::string& password) override;
    void Event_HeadersReceived(const InternetHeaders& headers, int status) override;
    void Event_Error(int code) override;

private:
    threadClass& worker_;
};

} // namespace quillfen
