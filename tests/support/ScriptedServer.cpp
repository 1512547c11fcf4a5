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
    std::vector<std::string> responses{"HTTP/1.0 200 OK\r\n\r\n"};
    bool closeAfter = true;
    std::vector<std::string> requests;
    int closedByClient = 0;
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
        const std::size_t index = requests.size();
        requests.emplace_back();
        QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket, index] {
            const bool answered = requests[index].find("\r\n\r\n") != std::string::npos;
            requests[index] += socket->readAll().toStdString();
            if (answered || requests[index].find("\r\n\r\n") == std::string::npos)
                return;
            const std::string& reply = responses[std::min(index, responses.size() - 1)];
            socket->write(reply.data(), static_cast<qint64>(reply.size()));
            if (closeAfter) {
                QObject::disconnect(socket, &QAbstractSocket::disconnected, nullptr, nullptr);
                socket->disconnectFromHost();
            }
        });
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, [this] { ++closedByClient; });
    }
};

ScriptedServer::ScriptedServer() : impl_(std::make_unique<Impl>()) {
    if (!impl_->listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("the test server cannot listen");
}

ScriptedServer::~ScriptedServer() = default;
int ScriptedServer::Port() const {
    return impl_->serverPort();
}

void ScriptedServer::SetResponses(std::vector<std::string> responses, bool closeAfter) {
    impl_->responses = std::move(responses);
    impl_->closeAfter = closeAfter;
}

void ScriptedServer::UseTls(const TestCertificate& certificate) {
    impl_->certificate = QSslCertificate(QByteArray::fromStdString(certificate.certificatePem), QSsl::Pem);
    impl_->key = QSslKey(QByteArray::fromStdString(certificate.keyPem), QSsl::Ec, QSsl::Pem);
}

std::vector<std::string> ScriptedServer::Requests() const {
    return impl_->requests;
}
int ScriptedServer::ClosedByClient() const {
    return impl_->closedByClient;
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
