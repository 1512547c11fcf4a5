#include "framework/files/TCPSocket.h"

#include "framework/files/PlainConnection.h"

#include <QCoreApplication>
#include <QList>
#include <QNetworkProxy>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>

#include <algorithm>
#include <cctype>
#include <utility>

namespace fw {
namespace {

QList<QSslCertificate>& ExtraAuthorities() {
    static QList<QSslCertificate> certificates;
    return certificates;
}

int CodeFor(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        return TCPSocket::NameResolutionError;
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::SocketResourceError:
    case QAbstractSocket::UnsupportedSocketOperationError:
    case QAbstractSocket::SocketAddressNotAvailableError:
        return TCPSocket::OpenDriverError;
    case QAbstractSocket::AddressInUseError:
        return TCPSocket::AddressInUseError;
    case QAbstractSocket::OperationError:
    case QAbstractSocket::UnfinishedSocketOperationError:
        return TCPSocket::InvalidStateError;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        return TCPSocket::SecureChannelError;
    default:
        return TCPSocket::LostConnection;
    }
}

// Names under ".invalid" never resolve. The system resolver would still hand them to whatever DNS
// server is configured and wait for its answer, so they fail here at once instead.
bool IsReservedInvalidName(std::string name) {
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::string suffix = ".invalid";
    return name == "invalid" || (name.size() > suffix.size() && name.ends_with(suffix));
}

// Released sockets wait, as children of one object, for one deferred delete: a scan of https rows
// releases a socket per row, and a deferred delete each would wake the event loop once more per row. The
// delete comes at the same safe point as a socket's own would, after the signal it may be inside of has
// returned.
void Retire(QSslSocket* socket) {
    static QPointer<QObject> graveyard;
    if (!graveyard) {
        graveyard = new QObject();
        graveyard->deleteLater();
    }
    socket->setParent(graveyard);
}

QByteArray ToBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

struct TCPSocket::Impl final : PlainConnection::Events, std::enable_shared_from_this<TCPSocket::Impl> {
    TCPSocket* owner = nullptr; // cleared when the TCPSocket goes, so late callbacks reach nobody
    // Plain connections skip Qt's socket objects: a scan opens one per row.
    std::shared_ptr<PlainConnection> plain;
    QSslSocket* socket = nullptr; // released by a deferred delete: it may be inside its own signal
    std::string buffer;
    int lastError = 0;
    unsigned generation = 0; // bumped whenever a connection ends; stale callbacks compare it
    bool secure = false;
    bool tcpUp = false;     // the TCP connection exists (TLS may still be negotiating)
    bool connected = false; // Connected has been raised and nothing has ended it

    void Release() {
        ++generation;
        connected = false;
        tcpUp = false;
        if (plain != nullptr)
            std::exchange(plain, nullptr)->Close();
        if (socket == nullptr)
            return;
        QObject::disconnect(socket, nullptr, nullptr, nullptr);
        socket->abort();
        Retire(socket);
        socket = nullptr;
    }

    void Drain() {
        if (socket != nullptr) {
            const QByteArray bytes = socket->readAll();
            buffer.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
    }

    void ConnectionMade() override;
    void BytesArrived(std::string_view bytes) override;
    void ConnectionFailed(int code) override;
};

// Each callback holds the Impl alive while it runs, and checks that its connection is still the
// current one and that the owner still exists, so a handler may close or destroy the socket.
class TCPSocketDispatch {
public:
    using ImplPtr = std::shared_ptr<TCPSocket::Impl>;

    static void Connected(const ImplPtr& self) {
        self->connected = true;
        self->owner->Handle_Connected();
    }
    static void DataAvailable(const ImplPtr& self) {
        self->Drain();
        self->owner->Handle_DataAvailable();
    }
    static void Fail(const ImplPtr& self, int code) {
        // A TLS connection that breaks before its handshake is done failed as a secure channel.
        if (self->secure && self->tcpUp && !self->connected)
            code = TCPSocket::SecureChannelError;
        self->Drain();
        self->lastError = code;
        self->Release();
        self->owner->Handle_Error(code);
    }

    template <typename Action> static auto Guarded(const ImplPtr& impl, Action action) {
        std::weak_ptr<TCPSocket::Impl> weak = impl;
        const unsigned generation = impl->generation;
        return [weak, generation, action](auto... args) {
            const ImplPtr self = weak.lock();
            if (self && self->owner != nullptr && self->generation == generation)
                action(self, args...);
        };
    }

    static void FailLater(const ImplPtr& impl, int code) {
        QMetaObject::invokeMethod(QCoreApplication::instance(),
                                  Guarded(impl, [code](const ImplPtr& self) { Fail(self, code); }),
                                  Qt::QueuedConnection);
    }

    static void OpenPlain(const ImplPtr& impl) {
        impl->plain = std::make_shared<PlainConnection>(*impl);
        impl->plain->Open(impl->owner->Address, impl->owner->Port);
    }

    static void OpenSecure(const ImplPtr& impl) {
        auto* socket = new QSslSocket();
        impl->socket = socket;
        socket->setProxy(QNetworkProxy::NoProxy);
        QObject::connect(socket, &QAbstractSocket::connected, socket,
                         Guarded(impl, [](const ImplPtr& self) { self->tcpUp = true; }));
        QObject::connect(socket, &QSslSocket::encrypted, socket,
                         Guarded(impl, [](const ImplPtr& self) { Connected(self); }));
        QObject::connect(socket, &QIODevice::readyRead, socket,
                         Guarded(impl, [](const ImplPtr& self) { DataAvailable(self); }));
        QObject::connect(socket, &QAbstractSocket::errorOccurred, socket,
                         Guarded(impl, [](const ImplPtr& self, QAbstractSocket::SocketError error) {
                             Fail(self, CodeFor(error));
                         }));
        QObject::connect(socket, &QAbstractSocket::disconnected, socket,
                         Guarded(impl, [](const ImplPtr& self) { Fail(self, TCPSocket::LostConnection); }));
        const QString host = QString::fromStdString(impl->owner->Address);
        const auto port = static_cast<quint16>(impl->owner->Port);
        QSslConfiguration config = socket->sslConfiguration();
        config.addCaCertificates(ExtraAuthorities());
        config.setPeerVerifyMode(QSslSocket::VerifyPeer);
        socket->setSslConfiguration(config);
        socket->connectToHostEncrypted(host, port);
    }
};

// A plain connection's events. It reports only while it is the current one: Release closes it.
void TCPSocket::Impl::ConnectionMade() {
    tcpUp = true;
    if (owner != nullptr)
        TCPSocketDispatch::Connected(shared_from_this());
}

void TCPSocket::Impl::BytesArrived(std::string_view bytes) {
    buffer.append(bytes);
    if (owner != nullptr)
        TCPSocketDispatch::DataAvailable(shared_from_this());
}

void TCPSocket::Impl::ConnectionFailed(int code) {
    if (owner != nullptr)
        TCPSocketDispatch::Fail(shared_from_this(), code);
}

TCPSocket::TCPSocket() : impl_(std::make_shared<Impl>()) {
    impl_->owner = this;
}

TCPSocket::~TCPSocket() {
    impl_->owner = nullptr;
    impl_->Release();
}

void TCPSocket::Connect() {
    impl_->Release();
    impl_->lastError = 0;
    impl_->secure = Secure;
    if (Port <= 0 || Port > 65535)
        TCPSocketDispatch::FailLater(impl_, InvalidPortError);
    else if (IsReservedInvalidName(Address))
        TCPSocketDispatch::FailLater(impl_, NameResolutionError);
    else if (Secure)
        TCPSocketDispatch::OpenSecure(impl_);
    else
        TCPSocketDispatch::OpenPlain(impl_);
}

void TCPSocket::Write(const std::string& bytes) {
    if (impl_->plain != nullptr)
        return impl_->plain->Write(bytes);
    if (impl_->socket == nullptr) {
        impl_->lastError = InvalidStateError;
        return;
    }
    impl_->socket->write(ToBytes(bytes));
    // Sent now rather than at the next turn of the event loop: a request waits for nothing else.
    impl_->socket->flush();
}

std::string TCPSocket::Lookahead() const {
    return impl_->buffer;
}

std::size_t TCPSocket::BytesAvailable() const {
    return impl_->buffer.size();
}

std::string TCPSocket::Read(std::size_t n) {
    n = std::min(n, impl_->buffer.size());
    std::string head = impl_->buffer.substr(0, n);
    impl_->buffer.erase(0, n);
    return head;
}

std::string TCPSocket::ReadAll() {
    return std::exchange(impl_->buffer, std::string());
}

void TCPSocket::Close() {
    impl_->Release();
}

void TCPSocket::Purge() {
    impl_->buffer.clear();
}

bool TCPSocket::IsConnected() const {
    return impl_->connected;
}

int TCPSocket::LastErrorCode() const {
    return impl_->lastError;
}

void TCPSocket::AddTrustedCertificatePem(const std::string& pem) {
    ExtraAuthorities().append(QSslCertificate::fromData(ToBytes(pem), QSsl::Pem));
}

} // namespace fw
