// The program's asynchronous HTTP/1.0 client on the framework's TCP socket: HEAD requests for the
// link check, GET for the version page. Events arrive on the main event loop.
#pragma once

#include "checker/InternetHeaders.h"
#include "framework/files/TCPSocket.h"

#include <memory>
#include <optional>
#include <string>

namespace quillfen {

class HTTPSocket : public fw::TCPSocket {
public:
    // A response header block may not be longer than this; a longer one ends the request as status 0.
    static constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
    // A GET page ends here even when the server sends more.
    static constexpr std::size_t kMaxPageBytes = 1024 * 1024;

    HTTPSocket();
    ~HTTPSocket() override;

    // An empty value deletes the header.
    void SetRequestHeader(const std::string& name, const std::string& value);
    // Sends a HEAD request for url; returns at once. A URL holding a blank or a control character, or a
    // host with "%" escapes, is never sent: it fails as a name that does not resolve.
    void GetHeaders(const std::string& url);
    // Sends a GET request for url; the page arrives through PageReceived.
    void Get(const std::string& url);

    int DefaultPort = 80;
    // Empty: no proxy. Port 0 means DefaultPort.
    std::string HTTPProxyAddress;
    int HTTPProxyPort = 0;
    // Matters only to callers that wait for a page, which this client does not offer.
    bool Yield = false;

    // Ends the current request: nothing more is raised for it.
    void Close() override;

protected:
    // Besides these, the socket's Event_Connected (the request is written right after it returns) and
    // Event_Error (a failure before the connection was made; its end is no error here).
    virtual void Event_HeadersReceived(const InternetHeaders& /*headers*/, int /*status*/) {}
    // A 401 response: return true with credentials filled in to repeat the request once with them.
    virtual bool Event_AuthenticationRequired(const InternetHeaders& /*headers*/, std::string& /*user*/,
                                              std::string& /*password*/) {
        return false;
    }
    // GET only: body bytes so far, the Content-length value (0 when absent) and the new piece.
    virtual void Event_ReceiveProgress(int /*received*/, int /*total*/, const std::string& /*piece*/) {}
    virtual void Event_PageReceived(const std::string& /*url*/, int /*status*/,
                                    const InternetHeaders& /*headers*/, const std::string& /*body*/) {}

private:
    void Handle_Connected() final;
    void Handle_DataAvailable() final;
    void Handle_Error(int code) final;

    using LifeToken = std::weak_ptr<char>;

    void StartRequest(const std::string& url, const std::string& method);
    void ResetResponse();
    void WriteRequest();
    void ProcessIncoming();
    // Each handles what has arrived; true when handling may go on with the data left.
    bool ReadHeaderBlock(const LifeToken& alive);
    bool ReadBody(const LifeToken& alive);
    void EndOversizedHeaders();
    void FinishPage();

    std::optional<InternetHeaders> _pageHeaders;
    std::string _server;
    std::string _path;
    InternetHeaders requestHeaders;
    int _totalLength = 0;
    std::string _pageBuffer;
    int _currentLength = 0;
    bool _pageComplete = false;
    std::string _httpAction;
    std::string _processingURL;
    bool _connectionValid = false;
    int _httpStatusCode = 0;
    std::string _authenticationKey;
    bool threadProtection = false;
    bool active_ = false; // a request is under way and its owner has not closed it
    // Expires with the object: an event handler may destroy it, and the caller must then stop.
    std::shared_ptr<char> lifeToken_ = std::make_shared<char>();
};

} // namespace quillfen
