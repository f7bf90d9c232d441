#include <QAbstractSocket>
#include <QTcpSocket>

#include "qovdll/transport.h"
#include "transports.h"

namespace qovdll {

namespace {

class TcpTransport : public Transport {
public:
    TcpTransport() = default;
    ~TcpTransport() override { close(); }

    OpenResult open(const std::string& host, quint16 port, int timeoutMs, std::string& reason) {
        socket_.connectToHost(QString::fromLatin1(host.data(), static_cast<int>(host.size())),
                              port);
        if (!socket_.waitForConnected(timeoutMs)) {
            const auto error = socket_.error();
            reason = error == QAbstractSocket::ConnectionRefusedError ? "connection refused"
                     : error == QAbstractSocket::HostNotFoundError    ? "host not found"
                     : error == QAbstractSocket::SocketTimeoutError
                         ? "no answer in " + std::to_string(timeoutMs) + " ms"
                         : socket_.errorString().toStdString();
            socket_.abort();
            switch (error) {
                case QAbstractSocket::ConnectionRefusedError:
                case QAbstractSocket::HostNotFoundError:
                case QAbstractSocket::NetworkError:
                case QAbstractSocket::SocketTimeoutError:
                case QAbstractSocket::UnsupportedSocketOperationError:
                    return OpenResult::SetupWrong;
                case QAbstractSocket::SocketAccessError:
                case QAbstractSocket::SocketResourceError:
                    return OpenResult::InUse;
                default:
                    return OpenResult::Failure;
            }
        }
        // One frame is one write: send it at once rather than waiting to fill a segment.
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return OpenResult::Open;
    }

    bool write(std::string_view bytes) override {
        if (socket_.state() != QAbstractSocket::ConnectedState)
            return false;
        const qint64 n = socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (n != static_cast<qint64>(bytes.size()))
            return false;
        while (socket_.bytesToWrite() > 0) {
            if (!socket_.waitForBytesWritten(1000))
                return false;
        }
        return true;
    }

    ReadStatus read(std::string& out, int timeoutMs) override {
        if (socket_.bytesAvailable() <= 0) {
            if (socket_.state() != QAbstractSocket::ConnectedState)
                return ReadStatus::Closed;
            if (!socket_.waitForReadyRead(timeoutMs > 0 ? timeoutMs : 0)) {
                if (socket_.bytesAvailable() > 0)
                    return take(out);
                if (socket_.state() != QAbstractSocket::ConnectedState ||
                    socket_.error() == QAbstractSocket::RemoteHostClosedError)
                    return ReadStatus::Closed;
                return ReadStatus::Timeout;
            }
        }
        return take(out);
    }

    void close() override {
        if (socket_.state() != QAbstractSocket::UnconnectedState)
            socket_.abort();
    }

    bool isOpen() const override { return socket_.state() == QAbstractSocket::ConnectedState; }

private:
    ReadStatus take(std::string& out) {
        const qint64 n = socket_.bytesAvailable();
        if (n <= 0)
            return ReadStatus::Timeout;
        const std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(n));
        const qint64 got = socket_.read(out.data() + old, n);
        out.resize(old + static_cast<std::size_t>(got > 0 ? got : 0));
        return got > 0 ? ReadStatus::Data : ReadStatus::Timeout;
    }

    QTcpSocket socket_;
};

}  // namespace

OpenResult openTcpTransport(const std::string& address, int timeoutMs,
                            std::unique_ptr<Transport>& transport, std::string& reason) {
    reason = "not an address of the form tcp://HOST:PORT";
    // address: "tcp://HOST:PORT"; HOST may be a bracketed IPv6 address.
    const std::string rest = address.substr(6);
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= rest.size())
        return OpenResult::SetupWrong;
    std::string host = rest.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    unsigned long port = 0;
    for (std::size_t i = colon + 1; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c < '0' || c > '9')
            return OpenResult::SetupWrong;
        port = port * 10 + static_cast<unsigned long>(c - '0');
        if (port > 65535)
            return OpenResult::SetupWrong;
    }
    if (port == 0 || host.empty())
        return OpenResult::SetupWrong;
    auto tcp = std::make_unique<TcpTransport>();
    const OpenResult result = tcp->open(host, static_cast<quint16>(port), timeoutMs, reason);
    if (result == OpenResult::Open)
        transport = std::move(tcp);
    return result;
}

}  // namespace qovdll
