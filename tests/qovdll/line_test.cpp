// The exchange engine of a line against the test peer, over TCP loopback and a pseudo-terminal.
#include "qovdll/line.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <numeric>

#include "test_peer.h"

namespace {

using qovdll::encodeFrame;
using qovtest::Act;
using qovtest::TestPeer;
using Clock = std::chrono::steady_clock;
using Call = std::function<int(qovdll::ReplyBuffer&)>;

// Short T_ENQ and T_REPLYs (direct line, modem) keep the suite quick.
constexpr int kEnq = 100, kReply = 150, kReplyM = 200;
const Act kSilent{Act::Raw}, kNak{Act::Raw, 0, "", "\x15"}, kDamage{Act::Damage};

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A reply buffer whose every position shows whether it was written, holding text at 1...
qovdll::ReplyBuffer untouched(std::string_view text = "") {
    qovdll::ReplyBuffer buffer;
    buffer.fill(0xEE);
    std::copy(text.begin(), text.end(), buffer.begin() + 1);
    return buffer;
}

class LineTest : public ::testing::TestWithParam<TestPeer::Medium> {
protected:
    void SetUp() override {
        line.setTimings(
            {{kEnq, kReply, 40, 0, 3}, {kEnq, kReplyM, 50, 0, 3}, 400, 500, 20, 60, 150, 1000});
        line.setPortDevice(3, peer.device);
        ASSERT_EQ(line.Init_RS232bd(3, 57600), 0);
    }

    TestPeer peer{GetParam()};
    qovdll::Line line;
    qovdll::ReplyBuffer reply = untouched();
};
INSTANTIATE_TEST_SUITE_P(Media, LineTest,
                         ::testing::Values(TestPeer::Medium::Tcp, TestPeer::Medium::Pty),
                         ::testing::PrintToStringParamName());

TEST_P(LineTest, SessionsStartWithAnsweredEnqAndTheirFirstRequestIsNeverARepetition) {
    peer.answerEnq = false;
    const auto start = Clock::now();
    EXPECT_EQ(line.get_frame("abc", 3, reply), -1);
    EXPECT_GE(msSince(start), 3 * kEnq);
    EXPECT_EQ(peer.seen().bytes, "\x05\x05\x05");
    EXPECT_EQ(line.send_frame("abc", 3), 2);
    EXPECT_EQ(line.Testconnessione(), 1);
    peer.answerEnq = true;
    EXPECT_EQ(line.TestconnessioneM(), 0);  // starts the session: no ENQ before its first request
    line.setNextSeq(0x7D);
    EXPECT_EQ(line.get_frame("PTNEXTxx", 6, reply), 6);
    ASSERT_EQ(line.Init_RS232(3), 0);  // a new session, and in it the very same frame
    line.setNextSeq(0x7D);
    EXPECT_EQ(line.get_frame("PTNEXTxx", 6, reply), 6);
    EXPECT_EQ(reply, untouched("PTNEXT"));
    EXPECT_EQ(line.send_frame("R02", 3), 0);
    EXPECT_EQ(line.send_frameM("s", 1), 0);
    EXPECT_EQ(peer.seen().executions, 4);
    const std::string ptnext = encodeFrame(0x7D, "PTNEXT");
    EXPECT_EQ(peer.seen().bytes, std::string(9, '\x05') + "\x05" + ptnext + "\x05" + ptnext +
                                     encodeFrame(0x7E, "R02") + encodeFrame(0x20, "s"));
}

TEST_P(LineTest, ResultsByReplyStatus) {
    const std::string text = std::string(111, 'x') + "\xff";  // 112 bytes
    const struct {
        std::string reply;  // the register's reply DATA
        int get, send, sendMD;
    } cases[] = {{"A", 0, 0, 0},          {"Aabc", 3, 0, 0},           {{"A\0\2\3\26", 5}, 4, 0, 0},
                 {"R", -4, 1, 1},         {"Rtext", -4, 1, 1},         {"E", -4, 3, 1},
                 {"A" + text, 112, 0, 0}, {"A" + text + "y", -3, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        peer.script({}, [r = c.reply](const std::string&) { return r; });
        reply = untouched();
        EXPECT_EQ(line.get_frame("n", 1, reply), c.get);
        EXPECT_EQ(reply, untouched(c.get > 0 ? c.reply.substr(1) : ""));
        EXPECT_EQ(line.send_frame("x", 1), c.send);
        EXPECT_EQ(line.send_frameM("x", 1), c.send);
        EXPECT_EQ(line.send_frameMD("x", 1), c.sendMD);
        EXPECT_EQ(peer.seen().executions, 4);
    }
}

TEST_P(LineTest, AttemptsWaitsAndLimitsAgainstWhatTheRegisterSends) {
    const Call frame120s = [&](auto& r) { return line.get_frame120s("abc", 3, r); };
    const Call frameT800 = [&](auto& r) { return line.get_frameT("abc", 3, r, 800); };
    const Call frameT250 = [&](auto& r) { return line.get_frameT("abc", 3, r, 250); };
    const Call frameT700 = [&](auto& r) { return line.get_frameT("abc", 3, r, 700); };
    const Call nakSynText = [&](auto& r) { return line.get_frame("abcdefgh\x15\x16", 10, r); };
    // 200 bytes at 4800 baud take about 417 ms on the wire, and T_REPLY starts after them.
    const Call slowLine = [&](auto& r) {
        line.Init_RS232bd(3, 4800);
        line.setNextSeq('5');
        const int n = line.get_frame(std::string(200, 'q'), 200, r);  // echoed: -3
        line.Init_RS232bd(3, 57600);
        return n;
    };
    const auto syn = [](int ms) { return Act{Act::Normal, ms, "\x16"}; };
    const Act synThenDamage{Act::Damage, 400, "\x16"};
    // Raw answers to the request, whose SEQ is '5' in every case.
    const auto raw = [](std::string bytes) { return Act{Act::Raw, 0, "", bytes}; };
    const Act foreignThenMine = raw(encodeFrame('6', "Aforeign") + encodeFrame('5', "Amine"));
    const Act onlyForeign = raw(encodeFrame('6', "A1")), stub999 = raw("\0029995Abc");
    const Act brokenThenMine = raw("\0020x" + encodeFrame('5', "Aok"));
    // Endless bytes that are never a frame nor a control byte, and endless frames that break.
    const Act junk{Act::Raw, 60000, "CONNECT 9600\r\nRING\r\n\x7f\xff\x01"};
    const Act breaking{Act::Raw, 60000, "\002007!zz\002017!zz\002\002097!zz\00200"};
    struct Case {
        const char* name;
        std::vector<Act> script;
        int result;  // of get_frame("abc") unless call says otherwise
        std::string text;
        int requests, executions, minMs;
        Call call = nullptr;
    };
    const Case cases[] = {
        {"two NAKs, then the reply", {kNak, kNak}, 3, "abc", 3, 1, 0},
        {"more NAKs than attempts", {kNak, kNak, kNak, kNak}, -1, "", 3, 0, 0},
        {"damaged replies, then the stored reply", {kDamage, kDamage}, 3, "abc", 3, 1, 0},
        {"only damaged replies", {kDamage, kDamage, kDamage}, -5, "", 3, 1, 0},
        {"reply lost after execution: the stored one", {Act{Act::Drop}}, 3, "abc", 2, 1, kReply},
        {"silence", {kSilent, kSilent, kSilent}, -1, "", 3, 0, 3 * kReply},
        {"short gap inside the reply", {Act{Act::Split, 10}}, 3, "abc", 1, 1, 0},
        {"gap past T_BYTE inside the reply", {Act{Act::Split, 150}}, 3, "abc", 2, 1, 0},
        // The resend waits until the broken reply's tail has passed: its NAK and SYN bytes do
        // not count against the next attempt.
        {"broken reply whose tail holds NAK and SYN",
         {Act{Act::Torn, 10}, Act{Act::Normal, 30}},
         10,
         "abcdefgh\x15\x16",
         2,
         1,
         0,
         nakSynText},
        {"foreign SEQ dropped", {foreignThenMine}, 4, "mine", 1, 0, 0},
        {"only foreign SEQ", {onlyForeign, kSilent, kSilent}, -1, "", 3, 0, 3 * kReply},
        {"broken frame, then the reply in one burst", {brokenThenMine}, 2, "ok", 1, 0, 0},
        {"frame announcing 999 bytes and stopping", {stub999, stub999, stub999}, -5, "", 3, 0, 0},
        {"endless junk", {junk, junk, junk}, -1, "", 3, 0, 3 * kReply},
        {"long request at 4800 baud", {Act{Act::Normal, 400}}, -3, "", 1, 1, 400, slowLine},
        // SYN restarts T_REPLY up to the busy limit; past it no attempt follows.
        {"SYN for less than get_frameT's wait", {syn(350)}, 3, "abc", 1, 1, 350, frameT800},
        {"SYN for more than get_frameT's wait", {syn(3000)}, -1, "", 1, 1, 250, frameT250},
        {"endless SYN", {syn(60000)}, -1, "", 1, 1, 400},
        {"endless SYN, get_frame120s", {syn(60000)}, -1, "", 1, 1, 500, frame120s},
        // The busy limit counts from the first request: SYN in the next attempt waits no longer.
        {"SYN across attempts up to get_frameT's wait",
         {synThenDamage, synThenDamage, synThenDamage},
         -5,
         "",
         2,
         1,
         700,
         frameT700},
        // Last: broken frames still on their way would break the next exchange.
        {"endless broken frames", {breaking, breaking, breaking}, -5, "", 3, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        peer.script(c.script);
        line.setNextSeq('5');
        reply = untouched();
        const auto start = Clock::now();
        EXPECT_EQ(c.call ? c.call(reply) : line.get_frame("abc", 3, reply), c.result);
        const auto elapsed = msSince(start);
        EXPECT_EQ(reply, untouched(c.text));  // the text at 1..n, nothing else written
        EXPECT_GE(elapsed, c.minMs);
        EXPECT_LT(elapsed, 1500);  // never stuck, endless bytes included
        const auto seen = peer.seen();
        EXPECT_EQ(static_cast<int>(seen.requests.size()), c.requests);
        EXPECT_EQ(seen.executions, c.executions);
        for (const auto& request : seen.requests)
            EXPECT_EQ(request.seq, '5');  // a retry keeps its SEQ
    }
}

// The same request sent right after a result that left its execution unknown (-1 or -5, or 2
// from a send) keeps its SEQ, so the register answers from its stored reply: a Retry of
// "PTNEXT" does not skip an article. Another request or an ENQ in between ends that rule.
TEST_P(LineTest, RequestRepeatedAfterAnUnknownOutcomeKeepsItsSeq) {
    const Act lost{Act::Drop};
    const auto get = [&](const char* request) {
        return line.get_frame(request, static_cast<int>(std::strlen(request)), reply);
    };
    struct Case {
        const char* name;
        std::vector<Act> script;
        std::function<std::vector<int>()> calls;
        std::vector<int> results;
        int executions;
        std::string seqs;  // the SEQ of every request seen
    };
    const Case cases[] = {
        {"replies lost, then asked again",
         {lost, lost, lost},
         [&] {
             return std::vector{get("PTNEXT"), get("PTNEXT")};
         },
         {-1, 6},
         1,
         "5555"},
        {"replies damaged, then asked again",
         {kDamage, kDamage, kDamage},
         [&] {
             return std::vector{get("PTNEXT"), get("PTNEXT")};
         },
         {-5, 6},
         1,
         "5555"},
        {"send without a reply, then sent again",
         {lost, lost, lost},
         [&] {
             return std::vector{line.send_frame("PE", 2), line.send_frameM("PE", 2)};
         },
         {2, 0},
         1,
         "5555"},
        {"another request between",
         {lost, lost, lost},
         [&] {
             return std::vector{get("PTNEXT"), get("n"), get("PTNEXT")};
         },
         {-1, 1, 6},
         3,
         "55567"},
        {"every family: get_frameT, then get_frame120s; send_frameMD, then get_frameM",
         {lost, lost, lost, Act{}, kSilent, kSilent, kSilent},
         [&] {
             return std::vector{line.get_frameT("PTNEXT", 6, reply, 100),
                                line.get_frame120s("PTNEXT", 6, reply), line.send_frameMD("PE", 2),
                                line.get_frameM("PE", 2, reply)};
         },
         {-1, 6, 2, 2},
         2,
         "55556666"},
        {"ENQ between",
         {lost, lost, lost},
         [&] {
             return std::vector{get("PTNEXT"), line.Testconnessione(), get("PTNEXT")};
         },
         {-1, 0, 6},
         2,
         "5556"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        peer.script(c.script);
        line.setNextSeq('5');
        EXPECT_EQ(c.calls(), c.results);
        const auto seen = peer.seen();
        EXPECT_EQ(seen.executions, c.executions);
        std::string seqs;
        for (const auto& request : seen.requests)
            seqs += request.seq;
        EXPECT_EQ(seqs, c.seqs);
    }
}

TEST_P(LineTest, IdleHookMayCloseTheLineMidExchangeButNotNest) {
    peer.script({kSilent, kSilent, kSilent});
    int calls = 0, nested = 99;
    line.setIdleHook([&] {
        if (++calls == 1)
            nested = line.send_frame("nested", 6);
        if (calls == 3)
            line.Close_RS232();
    });
    const auto start = Clock::now();
    EXPECT_EQ(line.get_frame("x", 1, reply), -1);
    EXPECT_LT(msSince(start), 3 * kReply);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(peer.seen().bytes.find("nested"), std::string::npos);

    // Every operation on a line that is not open.
    line.Close_RS232();  // harmless
    EXPECT_EQ((std::vector{line.get_frame("x", 1, reply), line.get_frameT("x", 1, reply, 100),
                           line.send_frame("x", 1), line.send_frameMD("x", 1),
                           line.send_data("AT", 2), line.Testconnessione()}),
              (std::vector{-1, -1, 2, 2, -1, -1}));
    EXPECT_EQ(reply, untouched());
    std::string buffer = "keep";
    int count = 7;
    line.read_data(count, buffer);
    EXPECT_EQ(buffer + std::to_string(count), "keep0");
}

TEST_P(LineTest, PeerClosingTheConnection) {
    peer.script({Act{Act::Close}});
    const auto start = Clock::now();
    EXPECT_EQ(line.get_frame("x", 1, reply), -1);
    EXPECT_LT(msSince(start), 3 * kReply);
    EXPECT_FALSE(line.isOpen());
}

// Junk that starts a frame and never ends it: a reply followed by it, an ENQ answered by it
// with the ACK after T_BYTE. Neither hides the ACK.
TEST_P(LineTest, JunkBeforeAnAckHidesNoAck) {
    line.setTimings({{400, kReply, 40, 0, 3}, {400, kReplyM, 50, 0, 3}, 400, 500, 20, 60});
    const std::string junk =
        "\x02"
        "999!";
    peer.script({Act{Act::Raw, 0, "", encodeFrame('5', "Aok") + junk}});
    line.setNextSeq('5');
    EXPECT_EQ(line.get_frame("x", 1, reply), 2);
    EXPECT_EQ(line.Testconnessione(), 0);
    peer.scriptEnq({{{0, junk}, {200, "\x06"}}});
    EXPECT_EQ(line.Testconnessione(), 0);
    EXPECT_EQ(std::ranges::count(peer.seen().bytes, '\x05'), 3);  // no ENQ was repeated
}

TEST_P(LineTest, RawDataForTheModem) {
    EXPECT_EQ(line.send_data("ATDT0113334444\r\nXX", 16), 16);  // answered "\r\nCONNECT 9600\r\n"
    std::string buffer(10, '.'), rest(10, '.');
    int count = -1, rested = -1;
    line.read_data(count, buffer);
    line.read_data(rested, rest);
    EXPECT_EQ(buffer.substr(0, count) + "|" + rest, "\r\nCONNECT |9600\r\n....");
    EXPECT_EQ(rested, 6);
    const auto start = Clock::now();
    line.read_data(count, rest);
    EXPECT_EQ(count, 0);
    EXPECT_GE(msSince(start), 60);
    // After raw use the next framed exchange begins a new session with ENQ.
    EXPECT_EQ(line.send_frameM("x", 1), 0);
    const auto seen = peer.seen();
    EXPECT_EQ(seen.bytes, "ATDT0113334444\r\n\x05" + encodeFrame(seen.requests[0].seq, "x"));
}

// Timings are the same on either medium: TCP alone.
class LineKindTest : public LineTest {};
INSTANTIATE_TEST_SUITE_P(Tcp, LineKindTest, ::testing::Values(TestPeer::Medium::Tcp),
                         ::testing::PrintToStringParamName());

// From CONNECT to the hang-up every operation waits as a modem line needs; on a direct line
// none does, the "M" and "MD" ones included. Every answer comes after 300 ms: within the modem
// T_REPLY and T_ENQ, past the direct ones (one more request or ENQ each).
TEST_P(LineKindTest, TimingsFollowTheLineNotTheOperation) {
    line.setTimings({{100, 100, 40, 0, 3}, {700, 700, 40, 0, 3}, 5000, 5000, 20, 60});
    QTemporaryDir dir;
    const std::string bmp = dir.filePath("logo.bmp").toStdString();
    std::ofstream(bmp, std::ios::binary) << "BM 10 bytes";
    // Each operation with its result: the echoed "abc" for the requests, 0 for the others.
    const std::vector<std::pair<int, std::function<int()>>> operations = {
        {3, [&] { return line.get_frame("abc", 3, reply); }},
        {3, [&] { return line.get_frameM("abc", 3, reply); }},
        {3, [&] { return line.get_frame120s("abc", 3, reply); }},
        {3, [&] { return line.get_frameT("abc", 3, reply, 100); }},
        {0, [&] { return line.send_frame("abc", 3); }},
        {0, [&] { return line.send_frameM("abc", 3); }},
        {0, [&] { return line.send_frameMD("abc", 3); }},
        {0, [&] { return line.Invialogo(bmp); }},  // NS, ND, NE: the first one slow
        {0, [&] { return line.Testconnessione(); }},
        {0, [&] { return line.TestconnessioneM(); }}};
    // The requests and ENQs each operation sent.
    const auto sent = [&] {
        EXPECT_EQ(line.Testconnessione(), 0);  // the session's ENQ out of the count
        std::vector<long> counts;
        for (const auto& [result, operation] : operations) {
            peer.script({Act{Act::Normal, 300}});
            peer.scriptEnq({{{300, "\x06"}}});
            EXPECT_EQ(operation(), result);
            const auto seen = peer.seen();
            counts.push_back(static_cast<long>(seen.requests.size()) +
                             std::ranges::count(seen.bytes, '\x05'));
        }
        return counts;
    };
    const auto modemAnswer = [&](const std::string& command) {
        line.send_data(command, static_cast<int>(command.size()));
        std::string buffer(32, ' ');
        int count = 0;
        line.read_data(count, buffer);
        return buffer.substr(0, static_cast<std::size_t>(count));
    };
    const std::vector<long> direct = {2, 2, 2, 2, 2, 2, 2, 4, 2, 2};
    EXPECT_EQ(sent(), direct);
    EXPECT_EQ(modemAnswer("ATDT0111234567\r\n"), "\r\nCONNECT 9600\r\n");
    EXPECT_TRUE(line.modemLine());
    EXPECT_EQ(sent(), (std::vector<long>{1, 1, 1, 1, 1, 1, 1, 3, 1, 1}));
    EXPECT_EQ(modemAnswer("+++ATH0\r\n"), "\r\nOK\r\n");
    EXPECT_FALSE(line.modemLine());
    EXPECT_EQ(sent(), direct);
}

TEST_P(LineTest, LogoIsSentInChunks) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("logo.bmp").toStdString(), other = path + ".txt";
    std::string bmp(200, 'B');
    std::iota(bmp.begin() + 1, bmp.end(), 'M');  // "BMNOP..."
    std::ofstream(path, std::ios::binary) << bmp;
    std::ofstream(other, std::ios::binary) << "PNG....";
    EXPECT_EQ(line.Invialogo(path), 0);
    std::vector<std::string> sent;
    for (const auto& frame : peer.seen().requests)
        sent.push_back(frame.data);
    EXPECT_EQ(sent, (std::vector<std::string>{"NS00000200", "ND00000000" + bmp.substr(0, 96),
                                              "ND00000096" + bmp.substr(96, 96),
                                              "ND00000192" + bmp.substr(192), "NE"}));
    peer.script({}, [](const std::string& r) { return r.rfind("ND", 0) == 0 ? "E" : "A"; });
    EXPECT_EQ(line.Invialogo(path), 1);
    EXPECT_EQ(peer.seen().requests.size(), 2u);  // stopped at the refused chunk
    EXPECT_EQ(line.Invialogo(other), 3);
    EXPECT_EQ(line.Invialogo(path + ".missing"), 3);
    EXPECT_EQ(peer.seen().requests.size(), 2u);
    line.Close_RS232();
    EXPECT_EQ(line.Invialogo(path), 2);
}

TEST(LineOpen, ResultsOfOpeningAPort) {
    const TestPeer peer(TestPeer::Medium::Tcp), pty(TestPeer::Medium::Pty);
    const std::string refused = TestPeer(TestPeer::Medium::Tcp).device;  // nobody listens now
    qovdll::Line line, other;
    const auto open = [&](const std::string& device, int port, int speed) {
        for (int p = 1; p <= 8; ++p)
            line.setPortDevice(p, device);
        const int result = line.Init_RS232bd(port, speed);
        EXPECT_EQ(line.isOpen(), result == 0) << device;
        return result;
    };
    for (const char* device : {"/dev/qovdll-no-such-device", "tcp://127.0.0.1", "tcp://:80",
                               "tcp://127.0.0.1:x", "tcp://127.0.0.1:99999"})
        EXPECT_EQ(open(device, 1, 9600), 2) << device;
    EXPECT_EQ(open(refused, 1, 9600), 2);
    for (int port : {0, 9})
        EXPECT_EQ(open(peer.device, port, 9600), 2) << port;
    for (int speed : {1200, 115200, 9601})
        EXPECT_EQ(open(peer.device, 8, speed), 2) << speed;
    for (int speed : {4800, 9600, 19200, 38400, 57600})
        EXPECT_EQ(open(peer.device, 8, speed), 0) << speed;

    // A serial port in use; Init_RS232 opens at the speed given last.
    other.setPortDevice(5, pty.device);
    ASSERT_EQ(other.Init_RS232(5), 0);
    EXPECT_EQ(open(pty.device, 5, 19200), 1);
    other.Close_RS232();
    EXPECT_EQ(open(pty.device, 5, 19200), 0);
    EXPECT_EQ(line.Init_RS232(5), 0);
    EXPECT_EQ(line.speed(), 19200);
}

}  // namespace
