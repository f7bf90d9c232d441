// The byte pipe under a line: a serial port or a TCP stream to a device server or simulator.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace qovdll {

// Outcome of opening a transport, with the values Init_RS232bd returns.
enum class OpenResult {
    Open = 0,        // ready
    InUse = 1,       // busy, locked or no permission
    SetupWrong = 2,  // no such device, unsupported speed, address refused or unreachable
    Failure = 3,     // anything else
};

enum class ReadStatus {
    Data,     // bytes were appended
    Timeout,  // nothing came in time
    Closed,   // the device or connection is gone (no more bytes will come)
};

class Transport {
public:
    virtual ~Transport() = default;

    // Hands all bytes to the device; false when they could not be written.
    virtual bool write(std::string_view bytes) = 0;
    // Waits up to timeoutMs (0 = just look) for bytes and appends all that have come.
    virtual ReadStatus read(std::string& out, int timeoutMs) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// A device name of the port map: "tcp://HOST:PORT" is a TCP stream, anything else a serial
// device path or name.
bool isTcpAddress(const std::string& device);

// Opens `device` (see isTcpAddress) at `speed` baud, 8N1, no flow control. TCP ignores the speed
// and gives up connecting after connectTimeoutMs. When it fails, `reason` (if given) says why in
// a few words ("connection refused", "no such device", ...).
OpenResult openTransport(const std::string& device, int speed, int connectTimeoutMs,
                         std::unique_ptr<Transport>& transport, std::string* reason = nullptr);

}  // namespace qovdll
