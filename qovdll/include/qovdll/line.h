// One register line: the operations of the link library over a serial port or TCP stream.
//
// Calls block until their exchange ends; while they wait, an idle hook (when set) is called
// about every 50 ms. Texts are byte strings. Not thread-safe: one thread drives one line.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "qovdll/frame_codec.h"
#include "qovdll/transport.h"

namespace qovdll {

// The reply buffer of the request operations: positions 0-112, a reply text of n bytes lands
// at positions 1..n; position 0 and positions past the reply are left as they were.
using ReplyBuffer = std::array<unsigned char, 113>;
inline constexpr int kMaxReplyText = 112;

// Timings of one kind of line (direct or modem). The kind follows the line, not the operation:
// from a modem's "CONNECT" until its hang-up every operation uses the modem's.
struct LineTiming {
    int enqMs;             // T_ENQ: wait for ACK after ENQ
    int replyMs;           // T_REPLY: wait for the first byte of a reply after the request
    int byteGapMs;         // T_BYTE: longest gap inside a frame ...
    int byteGapByteTimes;  // ... plus this many byte-times at the line speed
    int attempts;          // tries per operation, the first included
};

struct Timings {
    LineTiming direct{500, 1000, 100, 20, 3};
    LineTiming modem{2000, 3000, 500, 0, 3};
    int busyMs = 10000;       // how long SYN may keep the PC waiting
    int busy120sMs = 120000;  // the same for get_frame120s
    int idleMs = 50;          // idle hook period
    int readDataMs = 200;     // read_data: wait for the first raw byte ...
    int readQuietMs = 50;     // ... then gather until the line is quiet this long ...
    int readGatherMs = 200;   // ... or this long has passed since the first byte
    int connectMs = 3000;     // TCP connect
};

class Trace;

class Line {
public:
    Line();
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // The device of port 1-8: a serial device path or name, or "tcp://HOST:PORT". An empty
    // name means the platform's n-th serial port (defaultPortDevice).
    void setPortDevice(int port, std::string device);
    std::string portDevice(int port) const;
    static std::string defaultPortDevice(int port);

    void setTimings(const Timings& timings) { timings_ = timings; }
    const Timings& timings() const { return timings_; }

    // Called about every idleMs while an operation waits. It may close the line (the waiting
    // operation then ends as if the line were not open) but must not start an exchange.
    void setIdleHook(std::function<void()> hook) { idleHook_ = std::move(hook); }

    // Appends every byte in and out, with a timestamp, to the file; empty path: no trace.
    void setTraceFile(const std::string& path);

    bool isOpen() const;
    int speed() const { return speed_; }
    // Whether the line is a dialled modem connection: a raw read saw "CONNECT", and no "OK"
    // or "NO CARRIER" (hang-up) since; opening or closing the port ends it.
    bool modemLine() const { return modemLine_; }
    // The SEQ the next new request will carry (drawn at random when the line opens); setting it
    // is for tests and diagnostics. Values outside 0x20-0x7E are ignored.
    char nextSeq() const { return nextSeq_; }
    void setNextSeq(char seq);

    // 0 open; 1 port in use; 2 port set up wrong (no such device, unsupported speed, port
    // outside 1-8, TCP address refused or unreachable); 3 any other failure.
    int Init_RS232bd(int port, int speed);
    // Why the last Init_RS232bd did not open the line, in a few words naming the device;
    // empty when it opened.
    const std::string& openProblem() const { return openProblem_; }
    // Init_RS232bd at the speed last given to it (9600 before any).
    int Init_RS232(int port);
    void Close_RS232();

    // 0 reply A; 1 reply R; 3 reply E; 2 no intact reply, or the line is not open.
    // The "M" forms are the same operations (the timings follow the line).
    int send_frame(std::string_view text, int length);
    int send_frameM(std::string_view text, int length);
    // 0 reply A; 1 reply R or E; 2 no intact reply, or the line is not open.
    int send_frameMD(std::string_view text, int length);

    // n > 0: reply A with n text bytes at reply[1..n]; 0: reply A without text; -3: text
    // longer than 112 bytes (nothing copied); -4: reply R or E; -5: only damaged replies;
    // -1: no reply at all, or the line is not open.
    int get_frame(std::string_view request, int length, ReplyBuffer& reply);
    int get_frameM(std::string_view request, int length, ReplyBuffer& reply);
    int get_frame120s(std::string_view request, int length, ReplyBuffer& reply);
    int get_frameT(std::string_view request, int length, ReplyBuffer& reply, int waitMs);

    // Raw bytes, no framing: the number written, -1 when not open.
    int send_data(std::string_view text, int length);
    // Waits up to 200 ms for the first raw byte, then goes on reading until the line has been
    // quiet for 50 ms, buffer.size() bytes have come or 200 ms have passed since the first
    // byte; copies them to the start of buffer; count = bytes copied. Bytes that do not fit are
    // kept for the next read.
    void read_data(int& count, std::string& buffer);

    // 0 ACK received; 1 no ACK after all attempts; -1 the line is not open.
    int Testconnessione();
    int TestconnessioneM();

    // Sends a BMP file as "NS" size, "ND" offset + data (96 bytes a frame), "NE".
    // 0 taken; 1 refused; 2 no intact reply / line not open; 3 file missing, unreadable or
    // not a BMP.
    int Invialogo(const std::string& path);

private:
    using Clock = std::chrono::steady_clock;

    enum class Outcome { Reply, NoReply, Damaged, Closed };
    struct Exchange {
        Outcome outcome = Outcome::NoReply;
        std::string data;  // the reply's DATA (status byte + text)
    };
    enum class EnqResult { Ack, NoAck, Closed };
    enum class Wait { Data, Timeout, Closed };

    Exchange exchange(std::string_view request, int busyMs);
    EnqResult enquire();
    int sendResult(const Exchange& ex, bool errorIsRefusal) const;
    int getResult(const Exchange& ex, ReplyBuffer& reply) const;
    int getFrame(std::string_view request, int length, ReplyBuffer& reply, int busyMs);
    int sendFrame(std::string_view text, int length, bool errorIsRefusal);
    int testConnection();
    const LineTiming& lineTiming() const { return modemLine_ ? timings_.modem : timings_.direct; }
    // T_BYTE of the line: the longest gap inside a frame.
    Clock::duration byteGap() const;

    // Writes bytes (traced); false when the line is gone.
    bool send(std::string_view bytes);
    // Waits until `until` (or the next idle tick) for bytes, appending them to `in` (traced).
    Wait receive(std::string& in, Clock::time_point until);
    // Calls the idle hook when due; false when the hook closed or reopened the line.
    bool idleTick(std::uint64_t generation);
    // Drops what has come and the reader's partial frame: earlier bytes never count toward a
    // new exchange.
    void freshStart();
    // Reads and drops bytes until none has come for byteGap() since `lastByte` (at most
    // `limit`): the tail of a broken frame is not taken for an answer to the resend. False when
    // the line went away.
    bool awaitQuiet(Clock::time_point lastByte, Clock::duration limit, std::uint64_t generation);
    // Follows the modem's answers among raw bytes that have just come.
    void noteRawAnswers(std::string_view arrived);
    Clock::duration byteTimes(std::size_t bytes) const;
    bool usable() const;

    std::array<std::string, 8> ports_;
    Timings timings_;
    std::function<void()> idleHook_;
    std::unique_ptr<Trace> trace_;
    std::unique_ptr<Transport> transport_;
    std::uint64_t generation_ = 0;  // bumped on every open and close
    int speed_ = 9600;
    std::string openProblem_;
    char nextSeq_ = kSeqFirst;
    bool sessionStarted_ = false;  // ENQ answered since the line was opened
    bool modemLine_ = false;       // "CONNECT" seen, no hang-up since
    std::string rawTail_;          // the end of the raw bytes so far, for answers split by reads
    // The last request when its exchange ended without an intact reply (the register may have
    // executed it): sent again as the very next exchange, it keeps its SEQ.
    bool unsure_ = false;
    std::string unsureRequest_;
    char unsureSeq_ = kSeqFirst;
    bool inOperation_ = false;
    FrameReader reader_;
    std::string rawPending_;  // raw bytes read but not yet handed out by read_data
    Clock::time_point lastIdle_;
};

}  // namespace qovdll
