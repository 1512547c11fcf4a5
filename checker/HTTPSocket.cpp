#include "checker/HTTPSocket.h"

#include "checker/HTTPResponseHead.h"
#include "checker/WholeNumber.h"

#include "framework/text/Text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <utility>

namespace quillfen {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::ranges::equal(text.substr(0, prefix.size()), prefix, [](unsigned char a, unsigned char b) {
               return std::tolower(a) == std::tolower(b);
           });
}

// Blanks and controls would end the request line or the Host header early and start lines of their own.
bool FitsRequestLine(std::string_view text) {
    return std::ranges::none_of(text, [](unsigned char byte) { return byte <= 0x20 || byte == 0x7F; });
}

} // namespace

HTTPSocket::HTTPSocket() {
    requestHeaders.SetHeader("Accept", "*/*");
    requestHeaders.SetHeader("Accept-Language", "en");
}

HTTPSocket::~HTTPSocket() = default;

void HTTPSocket::SetRequestHeader(const std::string& name, const std::string& value) {
    if (value.empty())
        requestHeaders.Delete(name);
    else
        requestHeaders.SetHeader(name, value);
}

void HTTPSocket::GetHeaders(const std::string& url) {
    StartRequest(url, "HEAD");
}

void HTTPSocket::Get(const std::string& url) {
    StartRequest(url, "GET");
}

void HTTPSocket::Close() {
    active_ = false;
    fw::TCPSocket::Close();
}

void HTTPSocket::StartRequest(const std::string& url, const std::string& method) {
    const std::size_t scheme = url.find("://");
    const std::string rest = scheme == std::string::npos ? url : url.substr(scheme + 3);
    const std::size_t slash = rest.find('/');
    _server = rest.substr(0, slash);
    _path = slash == std::string::npos ? "/" : rest.substr(slash);

    const bool secure = StartsWithNoCase(url, "https://");
    const std::size_t colon = _server.find(':');
    int port = 0;
    if (colon != std::string::npos) {
        const std::size_t nextColon = _server.find(':', colon + 1);
        port = WholeNumber(
            _server.substr(colon + 1, nextColon == std::string::npos ? nextColon : nextColon - colon - 1));
    }
    Port = port != 0 ? port : (secure ? 443 : DefaultPort);
    Address = _server.substr(0, colon);
    Secure = secure;
    _processingURL = url;

    if (!FitsRequestLine(url) || _server.find('%') != std::string::npos) {
        // No request is written for it, and a host with escapes names no machine: the request fails as
        // a name that does not resolve, at the next turn of the event loop and without asking anyone.
        Address = "host.invalid";
    } else if (!HTTPProxyAddress.empty()) {
        // A proxy gets the request as the client wrote it: plain, with the absolute URL.
        Address = HTTPProxyAddress;
        Port = HTTPProxyPort != 0 ? HTTPProxyPort : DefaultPort;
        Secure = false;
    }
    _httpAction = method;

    Close();
    Purge();
    ResetResponse();
    _connectionValid = false;
    active_ = true;
    Connect();
}

void HTTPSocket::ResetResponse() {
    _pageBuffer.clear();
    _pageHeaders.reset();
    _httpStatusCode = 0;
    _totalLength = 0;
    _currentLength = 0;
    _pageComplete = false;
}

void HTTPSocket::Handle_Connected() {
    _connectionValid = true;
    ResetResponse();
    const LifeToken alive = lifeToken_;
    Event_Connected();
    if (alive.expired() || !active_ || !IsConnected())
        return;
    WriteRequest();
}

void HTTPSocket::WriteRequest() {
    requestHeaders.SetHeader("Host", _server);
    const bool authorizing = !_authenticationKey.empty();
    if (authorizing)
        requestHeaders.SetHeader("Authorization", _authenticationKey);
    requestHeaders.Delete("Content-type");
    requestHeaders.Delete("Content-length");
    if (!HTTPProxyAddress.empty())
        _path = _processingURL;
    Write(_httpAction + " " + _path + " HTTP/1.0\r\n" + requestHeaders.Format() + "\r\n\r\n");
    // Credentials go with one request only.
    if (authorizing) {
        requestHeaders.Delete("Authorization");
        _authenticationKey.clear();
    }
}

void HTTPSocket::Handle_DataAvailable() {
    if (!threadProtection)
        ProcessIncoming();
}

void HTTPSocket::Handle_Error(int code) {
    if (!_connectionValid) {
        active_ = false;
        Event_Error(code);
        return;
    }
    // The end of the connection: what is still unread may complete the response; an event handler
    // that is running further up this stack finishes the job itself.
    _connectionValid = false;
    if (!threadProtection)
        ProcessIncoming();
}

void HTTPSocket::ProcessIncoming() {
    const LifeToken alive = lifeToken_;
    threadProtection = true;
    bool more = true;
    while (more && active_ && BytesAvailable() > 0) {
        more = _pageHeaders ? ReadBody(alive) : ReadHeaderBlock(alive);
        if (alive.expired())
            return;
    }
    threadProtection = false;
    if (active_ && !_connectionValid && _pageHeaders && BytesAvailable() == 0)
        FinishPage();
}

bool HTTPSocket::ReadHeaderBlock(const LifeToken& alive) {
    const std::optional<HeaderBlockEnd> end = FindHeaderBlockEnd(Lookahead());
    if (!end) {
        // Past this, even a blank line still on its way would end the block too late.
        if (BytesAvailable() >= kMaxHeaderBytes + std::string_view("\r\n\r\n").size())
            EndOversizedHeaders();
        return false;
    }
    if (end->at > kMaxHeaderBytes) {
        EndOversizedHeaders();
        return false;
    }
    ResponseHead head = ParseHeaderBlock(Read(end->at));
    Read(end->length);
    _pageHeaders = std::move(head.headers);
    _httpStatusCode = head.status;
    _totalLength = WholeNumber(_pageHeaders->Value("Content-length"));

    if (_httpStatusCode == 401) {
        std::string user;
        std::string password;
        const bool retry = Event_AuthenticationRequired(*_pageHeaders, user, password);
        if (alive.expired() || !active_)
            return false;
        if (retry) {
            _authenticationKey = "Basic " + fw::EncodeBase64(user + ":" + password, 0);
            StartRequest(_processingURL, _httpAction);
            return false;
        }
    }
    Event_HeadersReceived(*_pageHeaders, _httpStatusCode);
    return true;
}

// A server must not make us hold an endless header block: the request ends as status 0.
void HTTPSocket::EndOversizedHeaders() {
    Close();
    Purge();
    _pageHeaders = InternetHeaders();
    _httpStatusCode = 0;
    Event_HeadersReceived(*_pageHeaders, 0);
}

bool HTTPSocket::ReadBody(const LifeToken& alive) {
    std::string piece = ReadAll();
    if (_httpAction != "GET")
        return true;
    const std::size_t room = kMaxPageBytes - _pageBuffer.size();
    const bool full = piece.size() >= room;
    piece.resize(std::min(piece.size(), room));
    _pageBuffer += piece;
    _currentLength += static_cast<int>(piece.size());
    if (!piece.empty()) {
        Event_ReceiveProgress(_currentLength, _totalLength, piece);
        if (alive.expired() || !active_)
            return false;
    }
    if (full) {
        Close();
        FinishPage();
        return false;
    }
    return true;
}

void HTTPSocket::FinishPage() {
    active_ = false;
    _pageComplete = true;
    if (_httpAction == "GET")
        Event_PageReceived(_processingURL, _httpStatusCode, *_pageHeaders, _pageBuffer);
}

} // namespace quillfen
