// The trace decoder on traces written line by line as the library's trace writes them.
#include "qovdll/trace_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qovdll/frame_codec.h"

namespace {

using Lines = std::vector<std::string>;

// The trace lines of `bytes` going one way at `time` (10:00:TIME on 2026-12-05), sixteen bytes
// a line as the writer cuts them.
Lines Record(const std::string& time, const char* direction, const std::string& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    Lines lines;
    for (std::size_t start = 0; start < bytes.size(); start += 16) {
        const std::string part = bytes.substr(start, 16);
        std::string line = "2026-12-05 10:00:" + time + " " + direction;
        std::string text;
        for (char c : part) {
            const auto b = static_cast<unsigned char>(c);
            line += {' ', kHex[b >> 4], kHex[b & 0xF]};
            text += (b >= 0x20 && b < 0x7F) ? c : '.';
        }
        line.append((16 - part.size()) * 3, ' ');
        lines.push_back(line + "  |" + text + "|");
    }
    return lines;
}
Lines Out(const std::string& time, const std::string& bytes) {
    return Record(time, "->", bytes);
}
Lines In(const std::string& time, const std::string& bytes) {
    return Record(time, "<-", bytes);
}
Lines Note(const std::string& time, const std::string& text) {
    return {"2026-12-05 10:00:" + time + " ** " + text};
}
std::string F(char seq, const std::string& data) {
    return qovdll::encodeFrame(seq, data);
}

const std::string kEnq = "\005", kAck = "\006", kNak = "\025", kSyn = "\026";

struct Case {
    const char* name;
    std::vector<Lines> trace;
    bool errorsOnly;
    Lines expected;
};

Lines Decode(const Case& c) {
    std::string text;
    for (const Lines& part : c.trace) {
        for (const std::string& line : part) {
            text += line + "\n";
        }
    }
    return qovdll::DecodeTrace(text, c.errorsOnly);
}

// A department read, with its reply's name in the register's Cyrillic code (ПИВО).
const std::string kPivo = "A00\xBF\xB8\xB2\xBE        00000250";

const Case kCases[] = {
    {"ARequestAnsweredAtOnce",
     {Note("00.000", "open com1 tcp://127.0.0.1:5100 at 9600: 0"), Out("00.001", kEnq),
      In("00.002", kAck), Out("00.003", F('!', "B00")), In("00.010", F('!', kPivo)),
      Note("00.011", "get result 22")},
     false,
     {"-- 2026-12-05", "10:00:00.000 ** open com1 tcp://127.0.0.1:5100 at 9600: 0",
      "10:00:00.001 -> ENQ", "10:00:00.002 <- ACK", "10:00:00.002 == ENQ: 1 attempt, ACK",
      "10:00:00.003 -> SEQ 0x21 \"B00\" CRC ok",
      "10:00:00.010 <- SEQ 0x21 A \"00ПИВО        00000250\" CRC ok",
      "10:00:00.011 == \"B00\": 1 attempt, reply A, result 22"}},
    {"ResentAfterANakAndASilence",
     {Out("01.000", F('5', "R00PIVO        00000250")), In("01.020", kNak),
      Out("01.120", F('5', "R00PIVO        00000250")),
      Out("02.300", F('5', "R00PIVO        00000250")), In("02.310", kSyn),
      In("02.510", F('5', "A")), Note("02.511", "send result 0")},
     false,
     {"-- 2026-12-05", "10:00:01.000 -> SEQ 0x35 \"R00PIVO        00000250\" CRC ok",
      "10:00:01.020 <- NAK", "10:00:01.120 -> SEQ 0x35 \"R00PIVO        00000250\" CRC ok",
      "10:00:02.300 -> SEQ 0x35 \"R00PIVO        00000250\" CRC ok", "10:00:02.310 <- SYN",
      "10:00:02.510 <- SEQ 0x35 A \"\" CRC ok",
      "10:00:02.511 == \"R00PIVO        00000250\": 3 attempts (NAK, no reply, reply A), busy "
      "(SYN 1), result 0 (done)"}},
    {"DamagedRepliesThenTheSameRequestResent",
     // A reply with a changed byte, one of another request, one cut short; the caller's
     // Retry then sends the request with the same SEQ and the register answers at once.
     {Out("03.000", F('a', "PTNEXT")),
      In("03.010",
         [] {
             std::string bad = F('a', "A8600");
             bad[6] = '7';
             return bad;
         }()),
      Out("04.000", F('a', "PTNEXT")), In("04.010", F('`', "A")), Out("05.000", F('a', "PTNEXT")),
      In("05.010", F('a', "A86000").substr(0, 9)), Note("06.000", "get result -5"),
      Out("07.000", F('a', "PTNEXT")), In("07.010", F('a', "A86")), Note("07.011", "get result 2")},
     false,
     {"-- 2026-12-05", "10:00:03.000 -> SEQ 0x61 \"PTNEXT\" CRC ok",
      "10:00:03.010 <- SEQ 0x61 A \"7600\" CRC bad (" + F('a', "A8600").substr(11) +
          ", should be " + F('a', "A7600").substr(11) + ")",
      "10:00:04.000 -> SEQ 0x61 \"PTNEXT\" CRC ok",
      "10:00:04.010 <- SEQ 0x60 A \"\" CRC ok (SEQ differs: dropped)",
      "10:00:05.000 -> SEQ 0x61 \"PTNEXT\" CRC ok",
      "10:00:05.010 <- broken frame (cut short): 02 30 30 36 61 41 38 36 30",
      "10:00:06.000 == \"PTNEXT\": 3 attempts (damaged reply, no reply, damaged reply), result "
      "-5 (damaged replies only)",
      "10:00:07.000 -> SEQ 0x61 \"PTNEXT\" CRC ok", "10:00:07.010 <- SEQ 0x61 A \"86\" CRC ok",
      "10:00:07.011 == \"PTNEXT\": resent with the same SEQ after an unknown outcome, 1 attempt, "
      "reply A, result 2"}},
    {"OnlyTheExchangesThatWentWrong",
     {Out("08.000", kEnq), In("08.001", kAck), Out("08.002", F('"', "n")),
      In("08.010", F('"', "A000000000000010")), Note("08.011", "get result 15"),
      Out("09.000", F('#', "PD000000000025")), In("09.010", F('#', "R")),
      Note("09.011", "send result 1"), Out("10.000", kEnq), Out("10.500", kEnq),
      Out("11.000", kEnq), Note("11.500", "test result 1")},
     true,
     {"-- 2026-12-05", "10:00:09.000 -> SEQ 0x23 \"PD000000000025\" CRC ok",
      "10:00:09.010 <- SEQ 0x23 R \"\" CRC ok",
      "10:00:09.011 == \"PD000000000025\": 1 attempt, reply R, result 1 (refused)",
      "10:00:10.000 -> ENQ", "10:00:10.500 -> ENQ", "10:00:11.000 -> ENQ",
      "10:00:11.500 == ENQ: 3 attempts (no ACK, no ACK, no ACK), result 1 (no ACK)"}},
    {"ModemTalkAndALostLine",
     {Out("12.000", "ATDT0111234567\r"),
      In("12.300", "\r\nCONNECT 9600\r\n"),
      Out("12.400", kEnq),
      In("12.410", kAck),
      Out("12.420", F('~', "L")),
      In("12.430", "\r\nNO CAR"),
      Note("12.440", "line lost"),
      {"garbage"},
      {""}},
     false,
     {"-- 2026-12-05", "10:00:12.000 -> text \"ATDT0111234567\\r\"",
      "10:00:12.300 <- text \"\\r\\nCONNECT 9600\\r\\n\"", "10:00:12.400 -> ENQ",
      "10:00:12.410 <- ACK", "10:00:12.410 == ENQ: 1 attempt, ACK",
      "10:00:12.420 -> SEQ 0x7E \"L\" CRC ok", "10:00:12.430 <- text \"\\r\\nNO CAR\"",
      "10:00:12.440 ** line lost", "10:00:12.440 == \"L\": 1 attempt, line lost",
      "?? line 8 is not a trace line"}},
};

class TraceDecoderCase : public ::testing::TestWithParam<Case> {};

TEST_P(TraceDecoderCase, GivesTheseLines) {
    EXPECT_EQ(Decode(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Traces, TraceDecoderCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TraceDecoder, RegisterTextForReading) {
    EXPECT_EQ(qovdll::QuotedRegisterText(std::string("\xA2\xD0 \"a\\\x00\x7F\xA0\xF0\x01", 11)),
              "\"Ђа \\\"a\\\\\\0\\x7F\\xA0\\xF0\\x01\"");
}

}  // namespace
