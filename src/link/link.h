#pragma once

#include <array>
#include <functional>
#include <string>

namespace qov {

// The reply buffer of the request operations: positions 0-112, a reply of n bytes
// at positions 1..n.
using ReplyBuffer = std::array<unsigned char, 113>;

// The operations of the link library, with its arguments and results. Texts are byte
// strings. Implementations: the real QovDll line (QovDllLink) and, for tests, a
// scripted fake.
class Link {
public:
    virtual ~Link() = default;

    virtual int Init_RS232bd(int port, int speed) = 0;
    virtual int Init_RS232(int port) = 0;
    virtual void Close_RS232() = 0;

    virtual int send_frame(const std::string& text, int length) = 0;
    virtual int send_frameM(const std::string& text, int length) = 0;
    virtual int send_frameMD(const std::string& text, int length) = 0;

    virtual int get_frame(const std::string& request, int length, ReplyBuffer& reply) = 0;
    virtual int get_frameM(const std::string& request, int length, ReplyBuffer& reply) = 0;
    virtual int get_frame120s(const std::string& request, int length, ReplyBuffer& reply) = 0;
    virtual int get_frameT(const std::string& request, int length, ReplyBuffer& reply,
                           int waitMs) = 0;

    // Raw bytes, no framing (modem commands).
    virtual int send_data(const std::string& text, int length) = 0;
    // Waits up to 200 ms for raw bytes, then copies what came (at most buffer.size()
    // bytes) to the start of `buffer`; `count` = number of bytes copied.
    virtual void read_data(int& count, std::string& buffer) = 0;

    virtual int Testconnessione() = 0;
    virtual int TestconnessioneM() = 0;
    virtual int Invialogo(const std::string& path) = 0;

    // Called about every 50 ms while an operation waits; must not start an exchange.
    virtual void setIdleHook(std::function<void()> hook) = 0;
};

}  // namespace qov
