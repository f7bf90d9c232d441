#include "qovdll/frame_codec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using qovdll::ReaderEvent;
using Kind = qovdll::ReaderEvent::Kind;

std::vector<ReaderEvent> readAll(std::string_view bytes) {
    qovdll::FrameReader reader;
    std::vector<ReaderEvent> events;
    reader.feed(bytes, events);
    return events;
}

// A compact picture of the events: F<seq>:<data> for frames, C<hex> for control bytes, D.
std::string describe(const std::vector<ReaderEvent>& events) {
    std::string out;
    for (const auto& ev : events) {
        if (!out.empty())
            out += ' ';
        switch (ev.kind) {
            case Kind::Frame:
                out += 'F';
                out += ev.frame.seq;
                out += ':';
                out += ev.frame.data;
                break;
            case Kind::Control: {
                char buf[8];
                std::snprintf(buf, sizeof buf, "C%02X", ev.control);
                out += buf;
                break;
            }
            case Kind::Damaged:
                out += 'D';
                break;
        }
    }
    return out;
}

std::string allByteValues(std::size_t length) {
    std::string data(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        data[i] = static_cast<char>((i * 7 + length) & 0xFF);
    return data;
}

std::string withCrcOf(std::string body) {
    char crc[5];
    std::snprintf(crc, sizeof crc, "%04X", qovdll::crc16(body));
    return "\x02" + body + "\x03" + crc;
}

TEST(FrameCodec, CrcCheckValue) {
    EXPECT_EQ(qovdll::crc16("123456789"), 0x29B1);
    EXPECT_EQ(qovdll::crc16(""), 0xFFFF);
}

TEST(FrameCodec, EncodesExactBytes) {
    EXPECT_EQ(qovdll::encodeFrame('!', "PTNEXT"),
              "\x02"
              "006!PTNEXT\x03"
              "E37C");
    EXPECT_EQ(qovdll::encodeFrame(' ', ""),
              "\x02"
              "000 \x03"
              "4C7B");
    EXPECT_EQ(qovdll::encodeFrame('!', std::string("A\0B", 3)),
              withCrcOf(std::string("003!A\0B", 7)));
}

TEST(FrameCodec, NextSeqWraps) {
    EXPECT_EQ(qovdll::nextSeq(0x20), 0x21);
    EXPECT_EQ(qovdll::nextSeq(0x7D), 0x7E);
    EXPECT_EQ(qovdll::nextSeq(0x7E), 0x20);
}

TEST(FrameCodec, RoundTripEveryLengthAndAllByteValues) {
    qovdll::FrameReader reader;
    std::vector<ReaderEvent> events;
    char seq = 0x20;
    for (std::size_t len = 0; len <= qovdll::kMaxFrameData; ++len) {
        const std::string data = allByteValues(len);
        events.clear();
        reader.feed(qovdll::encodeFrame(seq, data), events);
        ASSERT_EQ(events.size(), 1u) << len;
        ASSERT_EQ(events[0].kind, Kind::Frame) << len;
        ASSERT_EQ(events[0].frame.seq, seq);
        ASSERT_EQ(events[0].frame.data, data) << len;
        ASSERT_FALSE(reader.inFrame());
        seq = qovdll::nextSeq(seq);
    }
    // Every byte value appears at least once in the longer frames.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(describe(readAll(qovdll::encodeFrame('x', all))).size(), 3u + 256u);
}

TEST(FrameCodec, LongDataIsCutAt999) {
    const std::string frame = qovdll::encodeFrame('a', std::string(1200, 'z'));
    EXPECT_EQ(frame.size(), 999u + qovdll::kFrameOverhead);
    EXPECT_EQ(frame.substr(1, 3), "999");
}

TEST(FrameCodec, ReplySplitAtEveryPosition) {
    const std::string data = std::string("A") + "\x02\x03\x05\x06\x15\x16" + allByteValues(29);
    const std::string stream = std::string("\x16\x16") + qovdll::encodeFrame('5', data) + "\x06";
    for (std::size_t cut1 = 0; cut1 <= stream.size(); ++cut1) {
        for (std::size_t cut2 = cut1; cut2 <= stream.size(); cut2 += 5) {
            qovdll::FrameReader reader;
            std::vector<ReaderEvent> events;
            reader.feed(std::string_view(stream).substr(0, cut1), events);
            reader.feed(std::string_view(stream).substr(cut1, cut2 - cut1), events);
            reader.feed(std::string_view(stream).substr(cut2), events);
            ASSERT_EQ(events.size(), 4u) << cut1 << "/" << cut2;
            EXPECT_EQ(events[0].control, qovdll::SYN);
            EXPECT_EQ(events[1].control, qovdll::SYN);
            ASSERT_EQ(events[2].kind, Kind::Frame);
            EXPECT_EQ(events[2].frame.data, data);
            EXPECT_EQ(events[3].control, qovdll::ACK);
        }
    }
    // Byte by byte.
    qovdll::FrameReader reader;
    std::vector<ReaderEvent> events;
    for (char c : stream)
        reader.feed(std::string_view(&c, 1), events);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].frame.data, data);
}

TEST(FrameCodec, InFrameAndReset) {
    const std::string frame = qovdll::encodeFrame('5', "Axyz");
    qovdll::FrameReader reader;
    std::vector<ReaderEvent> events;
    EXPECT_FALSE(reader.inFrame());
    reader.feed("junk", events);
    EXPECT_FALSE(reader.inFrame());
    reader.feed(frame.substr(0, 6), events);
    EXPECT_TRUE(reader.inFrame());
    reader.reset();
    EXPECT_FALSE(reader.inFrame());
    // The rest of the broken frame is ignored (no STX in it); a fresh frame is read.
    reader.feed(frame.substr(6) + frame, events);
    EXPECT_EQ(describe(events), "F5:Axyz");
}

struct DamageCase {
    const char* name;
    std::string stream;
    std::string expected;
};

TEST(FrameCodec, DamageAndResync) {
    const std::string good = qovdll::encodeFrame('7', "Aok");
    std::string badCrc = good;
    badCrc.back() = badCrc.back() == '0' ? '1' : '0';
    std::string flipped = good;
    flipped[6] = 'K';  // data byte changed, CRC no longer fits
    const std::vector<DamageCase> cases = {
        {"bad LEN digit",
         "\x02"
         "0x3" +
             good,
         "D F7:Aok"},
        {"LEN longer than the data: the next frame's start is taken as data",
         withCrcOf("005!ab").substr(0, 9) + good, "D"},
        {"bad CRC", badCrc + good, "D F7:Aok"},
        {"data changed", flipped + good, "D F7:Aok"},
        {"missing ETX",
         "\x02"
         "002!abX" +
             good,
         "D F7:Aok"},
        {"ETX missing, STX follows at once",
         "\x02"
         "002!ab" +
             good,
         "D F7:Aok"},
        {"non-hex CRC",
         "\x02"
         "002!ab\x03"
         "12G4" +
             good,
         "D F7:Aok"},
        {"lower-case CRC",
         "\x02"
         "002!ab\x03"
         "abcd" +
             good,
         "D F7:Aok"},
        {"SEQ out of range",
         "\x02"
         "002\x01"
         "ab\x03"
         "0000" +
             good,
         "D F7:Aok"},
        {"truncated then new frame in LEN",
         "\x02"
         "00" +
             good,
         "D F7:Aok"},
        {"garbage before", std::string("hello\r\nCONNECT 9600\r\n\xff\x00", 23) + good, "F7:Aok"},
        {"garbage between", good + "zz\x01\x7f" + good, "F7:Aok F7:Aok"},
        {"control bytes between", good + "\x05\x06\x15\x16" + good,
         "F7:Aok C05 C06 C15 C16 F7:Aok"},
        {"control bytes inside data", qovdll::encodeFrame('9', "A\x06\x15\x16\x05"),
         "F9:A\x06\x15\x16\x05"},
        {"STX and ETX inside data", qovdll::encodeFrame('9', "\x02\x03\x02"), "F9:\x02\x03\x02"},
        {"control byte breaking LEN",
         "\x02"
         "0\x15" +
             good,
         "D C15 F7:Aok"},
        {"empty frame", qovdll::encodeFrame('~', ""), "F~:"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(readAll(c.stream)), c.expected) << c.name;
}

TEST(FrameCodec, LongLenSwallowsFollowingBytes) {
    // A frame announcing 999 bytes takes the next frame as its data: no event until it ends.
    qovdll::FrameReader reader;
    std::vector<ReaderEvent> events;
    reader.feed(
        "\x02"
        "999!" +
            qovdll::encodeFrame('7', "Aok"),
        events);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(reader.inFrame());
}

TEST(FrameCodec, TruncatedFrameGivesNothingUntilEnded) {
    const std::string good = qovdll::encodeFrame('7', "Ahello");
    for (std::size_t cut = 1; cut < good.size(); ++cut) {
        qovdll::FrameReader reader;
        std::vector<ReaderEvent> events;
        reader.feed(good.substr(0, cut), events);
        EXPECT_TRUE(events.empty()) << cut;
        EXPECT_TRUE(reader.inFrame()) << cut;
    }
}

}  // namespace
