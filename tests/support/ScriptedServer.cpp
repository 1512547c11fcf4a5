#include "tests/support/ScriptedServer.h"
#include "tests/support/TempHome.h"

#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

TestCertificate MakeSelfSignedCertificate(const std::string& subjectAltName) {
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                              "-nodes", "-days", "2", "-subj", "/CN=Quillfen test", "-addext",
                              QString::fromStdString("subjectAltName=" + subjectAltName), "-keyout",
                              dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        throw std::runtime_error("openssl could not make a test certificate");
    return {ReadFile(dir.filePath("cert.pem").toStdString()),
            ReadFile(dir.filePath("key.pem").toStdString())};
}

// Answers each connection (over TLS when a certificate is set) from the script, recording what it received.
struct ScriptedServer::Impl : QTcpServer {
    explicit Impl(ScriptedServer& owner) : s(owner) {}
    ScriptedServer& s;
    QSslCertificate certificate;
    QSslKey key;

    // The sockets go first, while the members they report to as they close still live.
    ~Impl() override { qDeleteAll(findChildren<QSslSocket*>()); }

    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        if (!certificate.isNull()) {
            socket->setLocalCertificate(certificate);
            socket->setPrivateKey(key);
            socket->startServerEncryption();
        }
        const std::size_t index = s.requests_.size();
        s.requests_.emplace_back();
        QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket, index] {
            std::string& request = s.requests_[index];
            const bool answered = request.find("\r\n\r\n") != std::string::npos;
            request += socket->readAll().toStdString();
            if (answered || request.find("\r\n\r\n") == std::string::npos)
                return;
            const std::string& reply = s.responses_[std::min(index, s.responses_.size() - 1)];
            socket->write(reply.data(), static_cast<qint64>(reply.size()));
            if (s.closeAfter_) {
                QObject::disconnect(socket, &QAbstractSocket::disconnected, nullptr, nullptr);
                socket->disconnectFromHost();
            }
        });
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, [this] { ++s.closedByClient_; });
    }
};

ScriptedServer::ScriptedServer() : impl_(std::make_unique<Impl>(*this)) {
    if (!impl_->listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("the test server cannot listen");
    port_ = impl_->serverPort();
}

ScriptedServer::~ScriptedServer() = default;

void ScriptedServer::UseTls(const TestCertificate& certificate) {
    impl_->certificate = QSslCertificate(QByteArray::fromStdString(certificate.certificatePem), QSsl::Pem);
    impl_->key = QSslKey(QByteArray::fromStdString(certificate.keyPem), QSsl::Ec, QSsl::Pem);
}

RefusingPort::RefusingPort() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a port on 127.0.0.1");
    port_ = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort() {
    ::close(fd_);
}

} // namespace testsupport
