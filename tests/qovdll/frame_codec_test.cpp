// The frame codec. Octal escapes in the byte strings: \002 STX, \003 ETX, \005 ENQ, \006 ACK,
// \025 NAK, \026 SYN.
#include "qovdll/frame_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = qovdll::ReaderEvent::Kind;

// The events of one reader fed the pieces in turn, as text: F<seq>:<data> for a frame,
// C<decimal code> for a control byte, D for damage.
std::string read(const std::vector<std::string_view>& pieces) {
    qovdll::FrameReader reader;
    std::vector<qovdll::ReaderEvent> events;
    for (auto piece : pieces)
        reader.feed(piece, events);
    std::string out = reader.inFrame() ? "(in frame)" : "";
    for (const auto& ev : events) {
        out += out.empty() ? "" : " ";
        out += ev.kind == Kind::Frame     ? 'F' + std::string(1, ev.frame.seq) + ':' + ev.frame.data
               : ev.kind == Kind::Control ? 'C' + std::to_string(ev.control)
                                          : "D";
    }
    return out;
}

// Data in which every byte value turns up once it is long enough.
std::string allByteValues(std::size_t length) {
    std::string data(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        data[i] = static_cast<char>((i * 7 + length) & 0xFF);
    return data;
}

TEST(FrameCodec, EncodesExactBytes) {
    EXPECT_EQ(qovdll::crc16("123456789"), 0x29B1);
    EXPECT_EQ(qovdll::encodeFrame('!', "PTNEXT"), "\002006!PTNEXT\003E37C");
    EXPECT_EQ(qovdll::encodeFrame(' ', ""), "\002000 \0034C7B");
    EXPECT_EQ(qovdll::encodeFrame('a', std::string(1200, 'z')),
              qovdll::encodeFrame('a', std::string(999, 'z')));  // cut to 999
    EXPECT_EQ(std::string({qovdll::nextSeq(0x20), qovdll::nextSeq(0x7D), qovdll::nextSeq(0x7E)}),
              "\x21\x7E\x20");
}

TEST(FrameCodec, RoundTripEveryLengthWithAllByteValues) {
    char seq = 0x20;
    for (std::size_t len = 0; len <= qovdll::kMaxFrameData; ++len, seq = qovdll::nextSeq(seq)) {
        const std::string data = allByteValues(len);
        ASSERT_EQ(read({qovdll::encodeFrame(seq, data)}), 'F' + std::string(1, seq) + ':' + data)
            << len;
    }
}

TEST(FrameCodec, ReplySplitAtEveryPositionAndTruncated) {
    const std::string data = "A\002\003\005\006\025\026" + allByteValues(29);
    const std::string stream = "\026\026" + qovdll::encodeFrame('5', data) + "\006";
    const std::string_view s = stream;
    for (std::size_t cut1 = 0; cut1 <= s.size(); ++cut1) {
        for (std::size_t cut2 = cut1; cut2 <= s.size(); cut2 += 5) {
            ASSERT_EQ(read({s.substr(0, cut1), s.substr(cut1, cut2 - cut1), s.substr(cut2)}),
                      "C22 C22 F5:" + data + " C6")
                << cut1 << "/" << cut2;
        }
        // Cut off inside the frame: nothing until it ends.
        if (cut1 > 2 && cut1 < s.size() - 1) {
            ASSERT_EQ(read({s.substr(0, cut1)}), "(in frame) C22 C22") << cut1;
        }
    }
}

TEST(FrameCodec, DamageAndResync) {
    const std::string good = qovdll::encodeFrame('7', "Aok");  // "\0020037Aok\003F473"
    const std::pair<const char*, std::string> damaged[] = {
        {"bad LEN digit", "\0020x3"},          {"bad CRC", "\0020037Aok\003F470"},
        {"missing ETX", "\002002!abX"},        {"ETX missing, STX follows at once", "\002002!ab"},
        {"non-hex CRC", "\002002!ab\00312G4"}, {"SEQ out of range", "\002002\001ab\0030000"},
        {"truncated in LEN", "\00200"},
    };
    for (const auto& [name, bytes] : damaged)
        EXPECT_EQ(read({bytes + good}), "D F7:Aok") << name;

    const std::pair<std::string, std::string> cases[] = {
        {std::string("hello\r\nCONNECT 9600\r\n\xff\0", 23) + good, "F7:Aok"},
        {good + "zz\001\177" + good, "F7:Aok F7:Aok"},
        {good + "\005\006\025\026" + good, "F7:Aok C5 C6 C21 C22 F7:Aok"},
        {qovdll::encodeFrame('9', "\002\003\005\006\025\026"), "F9:\002\003\005\006\025\026"},
        {"\0020\025" + good, "D C21 F7:Aok"},
        {qovdll::encodeFrame('~', ""), "F~:"},
        // A frame announcing more than follows swallows the next frame as its data.
        {"\002999!" + good, "(in frame)"},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(read({bytes}), expected);
}

}  // namespace
