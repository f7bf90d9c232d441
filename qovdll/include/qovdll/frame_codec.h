// Frame codec of the register link: encoding of frames and an incremental reader.
//
// Frame on the line: STX, LEN (3 ASCII decimal digits), SEQ (0x20-0x7E), DATA (LEN bytes of any
// value), ETX, CRC (4 upper-case hex digits of CRC-16/CCITT-FALSE over LEN, SEQ and DATA).
// Single control bytes (ENQ, ACK, NAK, SYN) travel outside frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qovdll {

inline constexpr unsigned char STX = 0x02, ETX = 0x03, ENQ = 0x05, ACK = 0x06, NAK = 0x15,
                               SYN = 0x16;

inline constexpr std::size_t kMaxFrameData = 999;  // LEN is three decimal digits
inline constexpr std::size_t kFrameOverhead = 10;  // STX + LEN(3) + SEQ + ETX + CRC(4)
inline constexpr unsigned char kSeqFirst = 0x20, kSeqLast = 0x7E;

// CRC-16/CCITT-FALSE: poly 0x1021, init 0xFFFF, not reflected, no final xor.
// "123456789" gives 0x29B1.
std::uint16_t crc16(std::string_view bytes);

// The whole frame for SEQ and DATA. DATA longer than 999 bytes is cut to 999 (LEN has three
// digits); SEQ is sent as given.
std::string encodeFrame(char seq, std::string_view data);

// The sequence byte that follows seq (0x7E wraps to 0x20).
char nextSeq(char seq);

struct Frame {
    char seq = 0;
    std::string data;
};

struct ReaderEvent {
    enum class Kind { Frame, Control, Damaged } kind = Kind::Damaged;
    Frame frame;                // Kind::Frame
    unsigned char control = 0;  // Kind::Control: ENQ, ACK, NAK or SYN
};

// Incremental reader: fed any split of bytes, yields frames, control bytes (outside frames) or
// damage (bad LEN, bad SEQ, bad CRC, missing ETX, ...), resynchronising on the next STX. Other
// bytes outside frames are ignored.
class FrameReader {
public:
    void feed(std::string_view bytes, std::vector<ReaderEvent>& events);
    // A frame has begun and not ended (the caller watches the gap between its bytes).
    bool inFrame() const { return state_ != State::Idle; }
    // Drops a partial frame; the caller reports it as damage itself.
    void reset();

private:
    enum class State { Idle, Len, Seq, Data, Etx, Crc };

    // Handles one byte; returns false when the byte broke the frame and must be looked at
    // again as a byte outside frames.
    bool step(unsigned char byte, std::vector<ReaderEvent>& events);
    void damaged(std::vector<ReaderEvent>& events);

    State state_ = State::Idle;
    std::size_t len_ = 0;
    std::size_t count_ = 0;  // digits of LEN or CRC taken so far
    std::uint16_t crcRead_ = 0;
    std::string body_;  // LEN, SEQ and DATA as received, for the CRC
};

}  // namespace qovdll
