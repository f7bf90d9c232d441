#include <QFileInfo>
#include <QSerialPort>

#include "qovdll/transport.h"
#include "transports.h"

namespace qovdll {

namespace {

class SerialTransport : public Transport {
public:
    ~SerialTransport() override { close(); }

    OpenResult open(const std::string& device, int speed, std::string& reason) {
        port_.setPortName(QString::fromLocal8Bit(device.data(), static_cast<int>(device.size())));
        if (!port_.open(QIODevice::ReadWrite)) {
            switch (port_.error()) {
                case QSerialPort::PermissionError:
                case QSerialPort::OpenError:
                    reason = "port in use or no permission";
                    return OpenResult::InUse;
                case QSerialPort::DeviceNotFoundError:
                    reason = "no such device";
                    return OpenResult::SetupWrong;
                case QSerialPort::UnsupportedOperationError:
                    reason = "not a serial port";
                    return OpenResult::SetupWrong;
                default:
                    reason = port_.errorString().toStdString();
                    return OpenResult::Failure;
            }
        }
        if (!port_.setBaudRate(speed)) {
            port_.close();
            reason = "the device does not take " + std::to_string(speed) + " baud";
            return OpenResult::SetupWrong;
        }
        const bool framed = port_.setDataBits(QSerialPort::Data8) &&
                            port_.setParity(QSerialPort::NoParity) &&
                            port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!framed) {
            port_.close();
            reason = "the device does not take 8 data bits, no parity, one stop bit";
            return OpenResult::SetupWrong;
        }
        // Modem control lines: a pseudo-terminal or some adapters have none; that is fine.
        port_.setDataTerminalReady(true);
        port_.setRequestToSend(true);
        port_.clearError();
        port_.clear();
        return OpenResult::Open;
    }

    bool write(std::string_view bytes) override {
        if (!port_.isOpen())
            return false;
        const qint64 n = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (n != static_cast<qint64>(bytes.size()))
            return false;
        while (port_.bytesToWrite() > 0) {
            if (!port_.waitForBytesWritten(1000))
                return false;
        }
        return true;
    }

    ReadStatus read(std::string& out, int timeoutMs) override {
        if (!port_.isOpen())
            return ReadStatus::Closed;
        if (port_.bytesAvailable() <= 0 && !port_.waitForReadyRead(timeoutMs > 0 ? timeoutMs : 0)) {
            if (port_.bytesAvailable() > 0)
                return take(out);
            const auto error = port_.error();
            if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
                port_.close();
                return ReadStatus::Closed;
            }
            port_.clearError();
            return ReadStatus::Timeout;
        }
        return take(out);
    }

    void close() override {
        if (port_.isOpen())
            port_.close();
    }

    bool isOpen() const override { return port_.isOpen(); }

private:
    ReadStatus take(std::string& out) {
        const qint64 n = port_.bytesAvailable();
        if (n <= 0)
            return ReadStatus::Timeout;
        const std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(n));
        const qint64 got = port_.read(out.data() + old, n);
        out.resize(old + static_cast<std::size_t>(got > 0 ? got : 0));
        return got > 0 ? ReadStatus::Data : ReadStatus::Timeout;
    }

    QSerialPort port_;
};

}  // namespace

OpenResult openSerialTransport(const std::string& device, int speed,
                               std::unique_ptr<Transport>& transport, std::string& reason) {
    if (device.empty()) {
        reason = "no device for the port";
        return OpenResult::SetupWrong;
    }
    // A path that names nothing is set up wrong, whatever the port locking says about it.
    if (device.front() == '/' &&
        !QFileInfo::exists(QString::fromLocal8Bit(device.data(), static_cast<int>(device.size())))) {
        reason = "no such device";
        return OpenResult::SetupWrong;
    }
    auto serial = std::make_unique<SerialTransport>();
    const OpenResult result = serial->open(device, speed, reason);
    if (result == OpenResult::Open)
        transport = std::move(serial);
    return result;
}

bool isTcpAddress(const std::string& device) {
    return device.size() >= 6 &&
           (device.compare(0, 6, "tcp://") == 0 || device.compare(0, 6, "TCP://") == 0);
}

OpenResult openTransport(const std::string& device, int speed, int connectTimeoutMs,
                         std::unique_ptr<Transport>& transport, std::string* reason) {
    std::string why;
    const OpenResult result = isTcpAddress(device)
                                  ? openTcpTransport(device, connectTimeoutMs, transport, why)
                                  : openSerialTransport(device, speed, transport, why);
    if (reason != nullptr) {
        *reason = result == OpenResult::Open ? std::string() : why;
    }
    return result;
}

}  // namespace qovdll
