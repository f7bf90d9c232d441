#include "qovdll/frame_codec.h"

#include <algorithm>
#include <array>

namespace qovdll {

namespace {

constexpr std::array<std::uint16_t, 256> makeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrcTable = makeCrcTable();

std::uint16_t crcUpdate(std::uint16_t crc, std::string_view bytes) {
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        crc = static_cast<std::uint16_t>((crc << 8) ^ kCrcTable[((crc >> 8) ^ b) & 0xFF]);
    }
    return crc;
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::uint16_t crc16(std::string_view bytes) {
    return crcUpdate(0xFFFF, bytes);
}

std::string encodeFrame(char seq, std::string_view data) {
    if (data.size() > kMaxFrameData)
        data = data.substr(0, kMaxFrameData);
    const std::size_t n = data.size();
    std::string out;
    out.reserve(n + kFrameOverhead);
    out.push_back(static_cast<char>(STX));
    out.push_back(static_cast<char>('0' + n / 100));
    out.push_back(static_cast<char>('0' + n / 10 % 10));
    out.push_back(static_cast<char>('0' + n % 10));
    out.push_back(seq);
    out.append(data);
    const std::uint16_t crc = crc16(std::string_view(out).substr(1));
    out.push_back(static_cast<char>(ETX));
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(crc >> shift) & 0xF]);
    return out;
}

char nextSeq(char seq) {
    const auto s = static_cast<unsigned char>(seq);
    if (s < kSeqFirst || s >= kSeqLast)
        return static_cast<char>(kSeqFirst);
    return static_cast<char>(s + 1);
}

void FrameReader::reset() {
    state_ = State::Idle;
    len_ = 0;
    count_ = 0;
    crcRead_ = 0;
    body_.clear();
}

void FrameReader::damaged(std::vector<ReaderEvent>& events) {
    reset();
    ReaderEvent ev;
    ev.kind = ReaderEvent::Kind::Damaged;
    events.push_back(std::move(ev));
}

void FrameReader::feed(std::string_view bytes, std::vector<ReaderEvent>& events) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        // Bulk-copy DATA bytes: the common case for long frames.
        if (state_ == State::Data) {
            const std::size_t want = len_ - (body_.size() - 4);
            const std::size_t take = std::min(want, n - i);
            body_.append(bytes.substr(i, take));
            i += take;
            if (body_.size() - 4 == len_)
                state_ = State::Etx;
            continue;
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (step(b, events))
            ++i;
        // else: the byte broke a frame; the reader is idle now and looks at it again.
    }
}

bool FrameReader::step(unsigned char b, std::vector<ReaderEvent>& events) {
    switch (state_) {
        case State::Idle:
            if (b == STX) {
                state_ = State::Len;
                len_ = 0;
                count_ = 0;
                body_.clear();
            } else if (b == ENQ || b == ACK || b == NAK || b == SYN) {
                ReaderEvent ev;
                ev.kind = ReaderEvent::Kind::Control;
                ev.control = b;
                events.push_back(std::move(ev));
            }
            return true;
        case State::Len:
            if (b < '0' || b > '9') {
                damaged(events);
                return false;
            }
            body_.push_back(static_cast<char>(b));
            len_ = len_ * 10 + (b - '0');
            if (++count_ == 3)
                state_ = State::Seq;
            return true;
        case State::Seq:
            if (b < kSeqFirst || b > kSeqLast) {
                damaged(events);
                return false;
            }
            body_.push_back(static_cast<char>(b));
            if (len_ == 0) {
                state_ = State::Etx;
            } else {
                state_ = State::Data;
                body_.reserve(4 + len_);
            }
            return true;
        case State::Data:  // handled in feed(); kept for completeness
            body_.push_back(static_cast<char>(b));
            if (body_.size() - 4 == len_)
                state_ = State::Etx;
            return true;
        case State::Etx:
            if (b != ETX) {
                damaged(events);
                return false;
            }
            state_ = State::Crc;
            count_ = 0;
            crcRead_ = 0;
            return true;
        case State::Crc: {
            const int v = hexValue(b);
            if (v < 0) {
                damaged(events);
                return false;
            }
            crcRead_ = static_cast<std::uint16_t>((crcRead_ << 4) | v);
            if (++count_ < 4)
                return true;
            if (crcRead_ != crc16(body_)) {
                damaged(events);
                return true;
            }
            ReaderEvent ev;
            ev.kind = ReaderEvent::Kind::Frame;
            ev.frame.seq = body_[3];
            ev.frame.data.assign(body_, 4, std::string::npos);
            events.push_back(std::move(ev));
            reset();
            return true;
        }
    }
    return true;
}

}  // namespace qovdll
