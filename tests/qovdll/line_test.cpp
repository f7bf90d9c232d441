// The exchange engine of a line against the test peer, over TCP loopback and a pseudo-terminal.
#include "qovdll/line.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <fstream>

#include "test_peer.h"

namespace {

using qovtest::PeerAction;
using qovtest::TestPeer;
using Clock = std::chrono::steady_clock;
using Act = PeerAction::Kind;

// Short timings so that the timeouts of the suite stay small.
constexpr int kEnq = 100;         // T_ENQ
constexpr int kReply = 150;       // T_REPLY
constexpr int kModemReply = 200;  // T_REPLY of the modem operations

qovdll::Timings fastTimings() {
    qovdll::Timings t;
    t.direct = {kEnq, kReply, 40, 0, 3};
    t.modem = {kEnq, kModemReply, 50, 0, 3};
    t.busyMs = 400;
    t.busy120sMs = 600;
    t.idleMs = 20;
    t.readDataMs = 60;
    t.connectMs = 1000;
    return t;
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

qovdll::ReplyBuffer filledBuffer() {
    qovdll::ReplyBuffer buffer;
    buffer.fill(0xEE);
    return buffer;
}

std::string text(const qovdll::ReplyBuffer& buffer, int n) {
    return std::string(reinterpret_cast<const char*>(buffer.data()) + 1,
                       static_cast<std::size_t>(n));
}

PeerAction act(Act kind, int ms = 0) {
    PeerAction a;
    a.kind = kind;
    a.ms = ms;
    return a;
}

PeerAction raw(std::function<std::string(char)> bytes) {
    PeerAction a;
    a.kind = Act::Raw;
    a.raw = std::move(bytes);
    return a;
}

class LineTest : public ::testing::TestWithParam<TestPeer::Medium> {
protected:
    void SetUp() override {
        peer_ = std::make_unique<TestPeer>(GetParam());
        line_.setTimings(fastTimings());
        line_.setPortDevice(3, peer_->device());
        ASSERT_EQ(line_.Init_RS232bd(3, 57600), 0);
    }

    TestPeer& peer() { return *peer_; }

    std::unique_ptr<TestPeer> peer_;
    qovdll::Line line_;
};

INSTANTIATE_TEST_SUITE_P(Media, LineTest,
                         ::testing::Values(TestPeer::Medium::Tcp, TestPeer::Medium::Pty),
                         [](const auto& info) {
                             return info.param == TestPeer::Medium::Tcp ? "Tcp" : "Pty";
                         });

// Engine behaviour that does not depend on the medium and mostly waits for timeouts: over TCP
// only, to keep the suite quick.
class TcpLineTest : public LineTest {};
INSTANTIATE_TEST_SUITE_P(Media, TcpLineTest, ::testing::Values(TestPeer::Medium::Tcp),
                         [](const auto&) { return "Tcp"; });

TEST_P(LineTest, FirstExchangeIsEnqThenTheExactFrame) {
    line_.setNextSeq('K');
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("PTNEXTxx", 6, reply), 6);
    EXPECT_EQ(text(reply, 6), "PTNEXT");
    EXPECT_EQ(peer().received(), "\x05" + qovdll::encodeFrame('K', "PTNEXT"));
    // Later exchanges go without ENQ, with the next SEQ.
    EXPECT_EQ(line_.send_frame("R02", 3), 0);
    EXPECT_EQ(peer().received(),
              "\x05" + qovdll::encodeFrame('K', "PTNEXT") + qovdll::encodeFrame('L', "R02"));
    EXPECT_EQ(peer().enqCount(), 1);
}

struct ReplyCase {
    std::string reply;  // DATA of the register's reply
    int get;            // get_frame
    int send;           // send_frame
    int sendMD;         // send_frameMD
};

TEST_P(LineTest, ResultsByReplyStatus) {
    const std::string text112 = std::string(111, 'x') + "\xff";
    const std::vector<ReplyCase> cases = {
        {"A", 0, 0, 0},
        {"Aabc", 3, 0, 0},
        {std::string("A\0\x02\x03\x16", 5), 4, 0, 0},
        {"R", -4, 1, 1},
        {"Rtext", -4, 1, 1},
        {"E", -4, 3, 1},
        {"A" + text112, 112, 0, 0},
        {"A" + text112 + "y", -3, 0, 0},
    };
    std::string current;
    peer().setHandler([&current](const std::string&) { return current; });
    for (const auto& c : cases) {
        current = c.reply;
        auto reply = filledBuffer();
        const int n = line_.get_frame("n", 1, reply);
        EXPECT_EQ(n, c.get) << c.reply;
        for (int i = 0; i < 113; ++i) {
            const bool written = n > 0 && i >= 1 && i <= n;
            if (written)
                EXPECT_EQ(reply[i], static_cast<unsigned char>(c.reply[i])) << i;
            else
                EXPECT_EQ(reply[i], 0xEE) << c.reply << " position " << i;
        }
        EXPECT_EQ(line_.send_frame("x", 1), c.send) << c.reply;
        EXPECT_EQ(line_.send_frameM("x", 1), c.send) << c.reply;
        EXPECT_EQ(line_.send_frameMD("x", 1), c.sendMD) << c.reply;
    }
    EXPECT_EQ(peer().executions(), static_cast<int>(cases.size()) * 4);
}

TEST_P(LineTest, NaksThenSuccessKeepSeq) {
    peer().script({act(Act::Nak), act(Act::Nak)});
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("abc", 3, reply), 3);
    const auto requests = peer().requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].seq, requests[0].seq);
    EXPECT_EQ(requests[2].seq, requests[0].seq);
    EXPECT_EQ(peer().executions(), 1);
}

TEST_P(LineTest, MoreNaksThanAttempts) {
    peer().script(
        {act(Act::Nak), act(Act::Nak), act(Act::Nak), act(Act::Nak), act(Act::Nak), act(Act::Nak)});
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("abc", 3, reply), -1);
    EXPECT_EQ(peer().requests().size(), 3u);
    EXPECT_EQ(line_.send_frame("abc", 3), 2);
    EXPECT_EQ(peer().requests().size(), 6u);
    EXPECT_EQ(peer().executions(), 0);
    EXPECT_EQ(reply, filledBuffer());
}

TEST_P(LineTest, DamagedRepliesThenStoredReply) {
    peer().script({act(Act::Damage), act(Act::Damage)});
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("sale", 4, reply), 4);
    EXPECT_EQ(text(reply, 4), "sale");
    EXPECT_EQ(peer().executions(), 1);  // the retries were repetitions
    EXPECT_EQ(peer().requests().size(), 3u);
}

TEST_P(LineTest, OnlyDamagedReplies) {
    peer().script({act(Act::Damage), act(Act::Damage), act(Act::Damage)});
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("sale", 4, reply), -5);
    EXPECT_EQ(reply, filledBuffer());
    peer().script({act(Act::Damage), act(Act::Damage), act(Act::Damage)});
    EXPECT_EQ(line_.send_frame("sale", 4), 2);
    EXPECT_EQ(peer().executions(), 2);
}

TEST_P(LineTest, LostReplyIsRepeatedNotReexecuted) {
    int counter = 0;
    peer().setHandler([&counter](const std::string&) { return "A" + std::to_string(++counter); });
    peer().script({act(Act::Drop)});
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("S1", 2, reply), 1);
    EXPECT_EQ(text(reply, 1), "1");
    EXPECT_GE(msSince(start), kReply);  // waited T_REPLY before the retry
    EXPECT_EQ(peer().executions(), 1);
    EXPECT_EQ(peer().requests().size(), 2u);
    // The same text again is a new request (new SEQ): executed.
    EXPECT_EQ(line_.get_frame("S1", 2, reply), 1);
    EXPECT_EQ(text(reply, 1), "2");
    EXPECT_EQ(peer().executions(), 2);
}

TEST_P(LineTest, NewSessionFirstRequestIsExecuted) {
    line_.setNextSeq('Q');
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("PTNEXT", 6, reply), 6);
    EXPECT_EQ(peer().executions(), 1);
    // Reopen and send the very same frame (same SEQ, same CRC): ENQ comes first, so the
    // register does not take it for a repetition.
    line_.Close_RS232();
    ASSERT_EQ(line_.Init_RS232(3), 0);
    line_.setNextSeq('Q');
    EXPECT_EQ(line_.get_frame("PTNEXT", 6, reply), 6);
    EXPECT_EQ(peer().executions(), 2);
    EXPECT_EQ(peer().enqCount(), 2);
}

TEST_P(TcpLineTest, NoAckToSessionEnqMeansNoRequest) {
    peer().setAnswerEnq(false);
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("abc", 3, reply), -1);
    EXPECT_GE(msSince(start), 3 * kEnq);
    EXPECT_EQ(peer().enqCount(), 3);
    EXPECT_TRUE(peer().requests().empty());
    EXPECT_EQ(line_.send_frame("abc", 3), 2);
    EXPECT_EQ(line_.Testconnessione(), 1);
    peer().setAnswerEnq(true);
    EXPECT_EQ(line_.Testconnessione(), 0);
    // Testconnessione started the session: no further ENQ before the request.
    const int enqs = peer().enqCount();
    EXPECT_EQ(line_.get_frame("abc", 3, reply), 3);
    EXPECT_EQ(peer().enqCount(), enqs);
}

TEST_P(LineTest, SynShorterThanBusyLimit) {
    peer().script({act(Act::Syn, 350)});
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frameT("kbd", 3, reply, 800), 3);
    EXPECT_GE(msSince(start), 350);  // far past T_REPLY: SYN kept it waiting
    EXPECT_EQ(peer().requests().size(), 1u);
}

TEST_P(LineTest, SynLongerThanBusyLimit) {
    peer().script({act(Act::Syn, 3000)});
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frameT("kbd", 3, reply, 250), -1);
    const auto elapsed = msSince(start);
    EXPECT_GE(elapsed, 250);
    EXPECT_LT(elapsed, 700);
    EXPECT_EQ(peer().requests().size(), 1u);  // the busy limit ends the operation
    EXPECT_EQ(reply, filledBuffer());
}

TEST_P(TcpLineTest, EndlessSynStopsAtBusyLimits) {
    auto timings = fastTimings();
    timings.busyMs = 300;
    timings.busy120sMs = 450;
    line_.setTimings(timings);
    peer().script({act(Act::Syn, 60000), act(Act::Syn, 60000)});
    auto reply = filledBuffer();
    auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -1);
    EXPECT_GE(msSince(start), 300);
    EXPECT_LT(msSince(start), 700);
    start = Clock::now();
    EXPECT_EQ(line_.get_frame120s("y", 1, reply), -1);
    EXPECT_GE(msSince(start), 450);
    EXPECT_LT(msSince(start), 850);
}

TEST_P(TcpLineTest, ReplyWaitStartsAfterTheRequestsTransmissionTime) {
    auto reply = filledBuffer();
    // 200 bytes at 4800 baud take about 417 ms on the wire: a reply after 400 ms is in time.
    ASSERT_EQ(line_.Init_RS232bd(3, 4800), 0);
    peer().script({act(Act::Delay, 400)});
    EXPECT_EQ(line_.get_frame(std::string(200, 'q'), 200, reply), -3);  // 200 bytes echoed
    EXPECT_EQ(peer().requests().size(), 1u);
    // 7 bytes at 57600 baud take about 1 ms: the same delay costs an attempt.
    ASSERT_EQ(line_.Init_RS232bd(3, 57600), 0);
    peer().script({act(Act::Delay, 400)});
    EXPECT_EQ(line_.get_frame("R02PICE", 7, reply), 7);
    EXPECT_EQ(peer().requests().size(), 3u);
    EXPECT_EQ(peer().executions(), 2);
}

TEST_P(LineTest, GapInsideAReply) {
    auto reply = filledBuffer();
    // A pause shorter than T_BYTE (40 ms) inside the reply is fine ...
    peer().script({act(Act::Split, 10)});
    EXPECT_EQ(line_.get_frame("half", 4, reply), 4);
    EXPECT_EQ(peer().requests().size(), 1u);
    // ... a longer one breaks the frame; the retry gets the stored reply.
    peer().script({act(Act::Split, 150)});
    EXPECT_EQ(line_.get_frame("more", 4, reply), 4);
    EXPECT_EQ(text(reply, 4), "more");
    EXPECT_EQ(peer().requests().size(), 3u);
    EXPECT_EQ(peer().executions(), 2);
}

TEST_P(TcpLineTest, SilentPeerUsesAllAttempts) {
    peer().script({act(Act::Silent), act(Act::Silent), act(Act::Silent)});
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -1);
    EXPECT_GE(msSince(start), 3 * kReply);
    EXPECT_EQ(peer().requests().size(), 3u);
}

TEST_P(TcpLineTest, ForeignSeqIsDropped) {
    peer().script({raw([](char seq) {
        return qovdll::encodeFrame(qovdll::nextSeq(seq), "Aforeign") +
               qovdll::encodeFrame(seq, "Amine");
    })});
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("x", 1, reply), 4);
    EXPECT_EQ(text(reply, 4), "mine");

    peer().script({raw([](char seq) { return qovdll::encodeFrame(qovdll::nextSeq(seq), "A1"); }),
                   act(Act::Silent), act(Act::Silent)});
    EXPECT_EQ(line_.get_frame("x", 1, reply), -1);
    EXPECT_EQ(text(reply, 4), "mine");
}

TEST_P(TcpLineTest, IntactReplyAfterABrokenFrameInOneBurst) {
    peer().script({raw([](char seq) {
        return std::string(
                   "\x02"
                   "0x") +
               qovdll::encodeFrame(seq, "Aok");
    })});
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("x", 1, reply), 2);
    EXPECT_EQ(text(reply, 2), "ok");
    EXPECT_EQ(peer().requests().size(), 1u);
}

TEST_P(LineTest, FrameAnnouncing999BytesAndStopping) {
    const auto stub = [](char seq) {
        return std::string(
                   "\x02"
                   "999") +
               seq + "Abc";
    };
    peer().script({raw(stub), raw(stub), raw(stub)});
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -5);
    EXPECT_LT(msSince(start), 3 * kReply + 300);
    EXPECT_EQ(peer().requests().size(), 3u);
    EXPECT_EQ(reply, filledBuffer());
}

TEST_P(LineTest, EndlessGarbage) {
    auto reply = filledBuffer();
    // Bytes that are never a frame nor a control byte: ignored, T_REPLY runs out.
    peer().script({act(Act::Silent), act(Act::Silent), act(Act::Silent)});
    peer().streamJunk("CONNECT 9600\r\nRING\r\n\x7f\xff\x01");
    auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -1);
    EXPECT_LT(msSince(start), 3 * kReply + 300);

    // Frames that always break: damaged replies.
    std::string junk;
    for (int i = 0; i < 40; ++i)
        junk += std::string("\x02") + "0" + static_cast<char>('0' + i % 10) + "7!zz";
    peer().script({act(Act::Silent), act(Act::Silent), act(Act::Silent)});
    peer().streamJunk(junk);
    start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -5);
    EXPECT_LT(msSince(start), 3 * kReply + 300);
    EXPECT_EQ(reply, filledBuffer());
}

TEST_P(LineTest, PeerClosingTheConnection) {
    peer().script({act(Act::Close)});
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -1);
    EXPECT_LT(msSince(start), 3 * kReply);
    EXPECT_FALSE(line_.isOpen());
    EXPECT_EQ(line_.send_frame("x", 1), 2);
    EXPECT_EQ(line_.Testconnessione(), -1);
}

TEST_P(LineTest, ClosingMidExchangeFromIdleHook) {
    peer().script({act(Act::Silent), act(Act::Silent), act(Act::Silent)});
    int calls = 0;
    line_.setIdleHook([&] {
        if (++calls == 3)
            line_.Close_RS232();
    });
    auto reply = filledBuffer();
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frame("x", 1, reply), -1);
    EXPECT_LT(msSince(start), 3 * kReply);
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(line_.isOpen());
    EXPECT_EQ(line_.send_frame("x", 1), 2);
}

TEST_P(LineTest, IdleHookRunsWhileWaitingAndCannotNest) {
    peer().script({act(Act::Syn, 200)});
    int calls = 0;
    int nested = 99;
    line_.setIdleHook([&] {
        ++calls;
        nested = line_.send_frame("nested", 6);  // not allowed: refused as line not usable
    });
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("x", 1, reply), 1);
    EXPECT_GE(calls, 4);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(peer().requests().size(), 1u);
}

TEST_P(LineTest, SeqFollowsAndWraps) {
    line_.setNextSeq(0x7D);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(line_.send_frame("s", 1), 0);
    const auto requests = peer().requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].seq, 0x7D);
    EXPECT_EQ(requests[1].seq, 0x7E);
    EXPECT_EQ(requests[2].seq, 0x20);
}

TEST_P(TcpLineTest, TestconnessioneAndModemForms) {
    EXPECT_EQ(line_.Testconnessione(), 0);
    EXPECT_EQ(line_.TestconnessioneM(), 0);
    EXPECT_EQ(peer().enqCount(), 2);
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frameM("abc", 3, reply), 3);
    peer().script({act(Act::Silent), act(Act::Silent), act(Act::Silent)});
    const auto start = Clock::now();
    EXPECT_EQ(line_.get_frameM("abc", 3, reply), -1);
    EXPECT_GE(msSince(start), 3 * kModemReply);
}

TEST_P(LineTest, RawDataForTheModem) {
    EXPECT_EQ(line_.send_data("ATDT0113334444\r\nXX", 16), 16);
    ASSERT_TRUE(peer().waitReceived(16, 1000));
    EXPECT_EQ(peer().received(), "ATDT0113334444\r\n");

    peer().sendRaw("\r\nCONNECT 9600\r\n");
    std::string buffer(10, '.');
    int count = -1;
    line_.read_data(count, buffer);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(buffer, "\r\nCONNECT ");
    std::string rest(10, '.');
    line_.read_data(count, rest);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(rest, "9600\r\n....");

    const auto start = Clock::now();
    line_.read_data(count, rest);
    EXPECT_EQ(count, 0);
    EXPECT_GE(msSince(start), 60);

    // After raw use the next framed exchange begins a new session with ENQ.
    const int enqs = peer().enqCount();
    EXPECT_EQ(line_.send_frameM("x", 1), 0);
    EXPECT_EQ(peer().enqCount(), enqs + 1);
}

TEST_P(TcpLineTest, LogoIsSentInChunks) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("logo.bmp").toStdString();
    std::string bmp = "BM";
    for (int i = 2; i < 200; ++i)
        bmp += static_cast<char>(i);
    std::ofstream(path, std::ios::binary) << bmp;
    EXPECT_EQ(line_.Invialogo(path), 0);
    const auto requests = peer().requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].data, "NS00000200");
    EXPECT_EQ(requests[1].data, "ND00000000" + bmp.substr(0, 96));
    EXPECT_EQ(requests[2].data, "ND00000096" + bmp.substr(96, 96));
    EXPECT_EQ(requests[3].data, "ND00000192" + bmp.substr(192));
    EXPECT_EQ(requests[4].data, "NE");

    peer().setHandler([](const std::string& r) { return r.rfind("ND", 0) == 0 ? "R" : "A"; });
    EXPECT_EQ(line_.Invialogo(path), 1);
    EXPECT_EQ(peer().requests().size(), 7u);  // stopped at the refused chunk

    peer().setHandler([](const std::string&) { return "E"; });
    EXPECT_EQ(line_.Invialogo(path), 1);

    peer().script({act(Act::Silent), act(Act::Silent), act(Act::Silent)});
    EXPECT_EQ(line_.Invialogo(path), 2);

    const std::string notBmp = dir.filePath("logo.txt").toStdString();
    std::ofstream(notBmp, std::ios::binary) << "PNG....";
    EXPECT_EQ(line_.Invialogo(notBmp), 3);
    EXPECT_EQ(line_.Invialogo(dir.filePath("missing.bmp").toStdString()), 3);
    line_.Close_RS232();
    EXPECT_EQ(line_.Invialogo(path), 2);
}

TEST_P(TcpLineTest, TraceRecordsBytesBothWays) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("QovDll.trace").toStdString();
    line_.setTraceFile(path);
    line_.setNextSeq('!');
    auto reply = filledBuffer();
    EXPECT_EQ(line_.get_frame("PTNEXT", 6, reply), 6);
    line_.setTraceFile({});
    EXPECT_EQ(line_.get_frame("PTNEXT", 6, reply), 6);  // not traced
    std::ifstream in(path);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("-> 05 "), std::string::npos) << all;
    EXPECT_NE(all.find("<- 06 "), std::string::npos) << all;
    EXPECT_NE(all.find("-> 02 30 30 36 21 50 54 4E 45 58 54 03 45 33 37 43"
                       "  |.006!PTNEXT.E37C|"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("<- 02 30 30 37 21 41 50 54 4E 45 58 54 03"), std::string::npos) << all;
    EXPECT_EQ(all.find("22 50 54"), std::string::npos) << all;  // second request, SEQ '"'
    // Lines start with a timestamp: "YYYY-MM-DD HH:MM:SS.mmm ".
    ASSERT_GT(all.size(), 24u);
    EXPECT_EQ(all[4], '-');
    EXPECT_EQ(all[10], ' ');
    EXPECT_EQ(all[19], '.');
}

// --- Opening and the line that is not open ---

TEST(LineOpen, ResultsOfOpening) {
    qovdll::Line line;
    line.setPortDevice(1, "/dev/qovdll-no-such-device");
    EXPECT_EQ(line.Init_RS232bd(1, 9600), 2);
    EXPECT_EQ(line.Init_RS232bd(0, 9600), 2);
    EXPECT_EQ(line.Init_RS232bd(9, 9600), 2);
    EXPECT_EQ(line.Init_RS232bd(-1, 9600), 2);

    TestPeer peer(TestPeer::Medium::Tcp);
    line.setPortDevice(2, peer.device());
    for (int speed : {0, 1200, 115200, 9601})
        EXPECT_EQ(line.Init_RS232bd(2, speed), 2) << speed;
    for (int speed : {4800, 9600, 19200, 38400, 57600})
        EXPECT_EQ(line.Init_RS232bd(2, speed), 0) << speed;
    EXPECT_TRUE(line.isOpen());

    for (const char* bad : {"tcp://127.0.0.1", "tcp://:80", "tcp://127.0.0.1:x",
                            "tcp://127.0.0.1:99999", "tcp://127.0.0.1:0"}) {
        line.setPortDevice(4, bad);
        EXPECT_EQ(line.Init_RS232bd(4, 9600), 2) << bad;
        EXPECT_FALSE(line.isOpen());
    }
}

TEST(LineOpen, TcpRefused) {
    std::string device;
    {
        TestPeer gone(TestPeer::Medium::Tcp);
        device = gone.device();
    }
    qovdll::Line line;
    line.setPortDevice(1, device);
    EXPECT_EQ(line.Init_RS232bd(1, 9600), 2);
}

TEST(LineOpen, SpeedRemembered) {
    TestPeer peer(TestPeer::Medium::Pty);
    qovdll::Line line;
    line.setPortDevice(1, peer.device());
    EXPECT_EQ(line.Init_RS232(1), 0);
    EXPECT_EQ(line.speed(), 9600);
    EXPECT_EQ(line.Init_RS232bd(1, 19200), 0);
    line.Close_RS232();
    EXPECT_EQ(line.Init_RS232(1), 0);
    EXPECT_EQ(line.speed(), 19200);
}

TEST(LineOpen, SerialPortInUse) {
    TestPeer peer(TestPeer::Medium::Pty);
    qovdll::Line first, second;
    first.setPortDevice(5, peer.device());
    second.setPortDevice(5, peer.device());
    ASSERT_EQ(first.Init_RS232bd(5, 9600), 0);
    EXPECT_EQ(second.Init_RS232bd(5, 9600), 1);
    first.Close_RS232();
    EXPECT_EQ(second.Init_RS232bd(5, 9600), 0);
}

TEST(LineOpen, DefaultDevices) {
    qovdll::Line line;
    EXPECT_EQ(line.portDevice(1), "/dev/ttyS0");
    EXPECT_EQ(line.portDevice(8), "/dev/ttyS7");
    line.setPortDevice(8, "tcp://h:1");
    EXPECT_EQ(line.portDevice(8), "tcp://h:1");
    line.setPortDevice(8, "");
    EXPECT_EQ(line.portDevice(8), "/dev/ttyS7");
    EXPECT_EQ(line.portDevice(9), "");
}

TEST(LineOpen, NotOpenResults) {
    qovdll::Line line;
    QTemporaryDir dir;
    const std::string path = dir.filePath("logo.bmp").toStdString();
    std::ofstream(path, std::ios::binary) << "BM1234";
    auto reply = filledBuffer();
    line.Close_RS232();  // harmless
    EXPECT_EQ(line.send_frame("x", 1), 2);
    EXPECT_EQ(line.send_frameM("x", 1), 2);
    EXPECT_EQ(line.send_frameMD("x", 1), 2);
    EXPECT_EQ(line.get_frame("x", 1, reply), -1);
    EXPECT_EQ(line.get_frameM("x", 1, reply), -1);
    EXPECT_EQ(line.get_frame120s("x", 1, reply), -1);
    EXPECT_EQ(line.get_frameT("x", 1, reply, 100), -1);
    EXPECT_EQ(line.send_data("AT", 2), -1);
    std::string buffer = "keep";
    int count = 7;
    line.read_data(count, buffer);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(buffer, "keep");
    EXPECT_EQ(line.Testconnessione(), -1);
    EXPECT_EQ(line.TestconnessioneM(), -1);
    EXPECT_EQ(line.Invialogo(path), 2);
    EXPECT_EQ(reply, filledBuffer());
}

TEST(LineTimings, DefaultsOfTheProtocol) {
    const qovdll::Timings t;
    EXPECT_EQ(t.direct.enqMs, 500);
    EXPECT_EQ(t.direct.replyMs, 1000);
    EXPECT_EQ(t.direct.byteGapMs, 100);
    EXPECT_EQ(t.direct.byteGapByteTimes, 20);
    EXPECT_EQ(t.direct.attempts, 3);
    EXPECT_EQ(t.modem.enqMs, 2000);
    EXPECT_EQ(t.modem.replyMs, 3000);
    EXPECT_EQ(t.modem.byteGapMs, 500);
    EXPECT_EQ(t.modem.attempts, 3);
    EXPECT_EQ(t.busyMs, 10000);
    EXPECT_EQ(t.busy120sMs, 120000);
    EXPECT_EQ(t.idleMs, 50);
    EXPECT_EQ(t.readDataMs, 200);
    EXPECT_EQ(qovdll::Line().timings().direct.replyMs, 1000);
}

}  // namespace
