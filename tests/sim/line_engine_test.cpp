// The register's side of the line with a made-up clock: bytes in, bytes out.
#include "line_engine.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace {

using namespace std::chrono_literals;
using qov::sim::DialOutcome;
using qov::sim::EventLog;
using qov::sim::LineEngine;
using qov::sim::LineOptions;
using qov::sim::RegisterModel;
using qov::sim::Reply;
using qovdll::encodeFrame;

const std::string kEnq = "\x05", kAck = "\x06", kNak = "\x15", kSyn = "\x16";

std::string sale(const std::string& code) {
    return "PS10" + code + "00" + "123456789123" + "0011" + "000001000" + "00000000";
}

class Engine : public ::testing::Test {
protected:
    void start(LineOptions options = {}) {
        engine_ = std::make_unique<LineEngine>(model_, options, log_.isOpen() ? &log_ : nullptr);
    }
    // Feeds bytes at the current time and returns what is due right away.
    std::string send(const std::string& bytes) {
        engine_->receive(bytes, now_);
        return due();
    }
    std::string due() {
        std::string out;
        engine_->poll(now_);
        engine_->takeDue(now_, out);
        return out;
    }
    void wait(std::chrono::milliseconds ms) { now_ += ms; }
    void stockArticle() {
        model_.execute(
            "PR000000000001"
            "00" +
            std::string(28, 'A') +
            "00000100"
            "0100");
        model_.execute("PQ000000000001000100000");
    }

    RegisterModel model_;
    EventLog log_;
    std::unique_ptr<LineEngine> engine_;
    LineEngine::Time now_ = LineEngine::Clock::now();
};

TEST_F(Engine, EnqAnsweredAndRequestsAnsweredWithTheirSeq) {
    start();
    EXPECT_EQ(send(kEnq), kAck);
    EXPECT_EQ(send(encodeFrame('7', "B00")),
              encodeFrame('7', "A00ODELJENJE 1 " + std::string(28, '0')));
    EXPECT_EQ(send(encodeFrame('8', "R99")), encodeFrame('8', "R"));
    EXPECT_EQ(send(encodeFrame('9', "B10")), encodeFrame('9', "E"));
    // a request split at every byte is still one request
    const std::string frame = encodeFrame('!', "J");
    std::string out;
    for (char c : frame)
        out += send(std::string(1, c));
    EXPECT_EQ(out, encodeFrame('!', "AAR0001100000001FM000001"));
    EXPECT_EQ(engine_->executed(), 4);
}

TEST_F(Engine, RepetitionAnsweredFromTheStoredReplyWithoutExecuting) {
    start();
    stockArticle();
    send(kEnq);
    send(encodeFrame('A', "p"));
    const std::string request = encodeFrame('B', sale("000000000001"));
    const std::string reply = send(request);
    EXPECT_EQ(reply, encodeFrame('B', "A"));
    EXPECT_EQ(send(request), reply);  // the same SEQ and CRC: not sold again
    EXPECT_EQ(send(kNak), reply);     // a NAK from the station: the same again
    EXPECT_EQ(model_.memory().articles.at("000000000001").quantity, 1000);
    EXPECT_EQ(engine_->executed(), 2);
    EXPECT_EQ(engine_->repeated(), 2);
    // a new SEQ is a new request, and so is the same SEQ with other text
    send(encodeFrame('C', sale("000000000001")));
    send(encodeFrame('C',
                     "PS10000000000001"
                     "00123456789123"
                     "0011000002000"
                     "00000000"));
    EXPECT_EQ(model_.memory().articles.at("000000000001").quantity, 4000);
    // ENQ forgets the last request: the same frame again is executed
    send(kEnq);
    send(encodeFrame('C', sale("000000000001")));
    EXPECT_EQ(model_.memory().articles.at("000000000001").quantity, 5000);
    EXPECT_EQ(send(kNak), encodeFrame('C', "A"));
}

TEST_F(Engine, NakBeforeAnyRequestIsIgnored) {
    start();
    EXPECT_EQ(send(kNak), "");
    send(kEnq);
    EXPECT_EQ(send(kNak), "");
}

TEST_F(Engine, DamagedRequestsAnsweredWithNak) {
    start();
    std::string bad = encodeFrame('5', "n");
    bad[bad.size() - 1] = bad[bad.size() - 1] == '0' ? '1' : '0';  // wrong CRC
    EXPECT_EQ(send(bad), kNak);
    EXPECT_EQ(send("\x02"
                   "0X1"),
              kNak);  // bad LEN
    EXPECT_EQ(send(std::string("\x02"
                               "001"
                               "5"
                               "n"
                               "X")),
              kNak);  // no ETX
    EXPECT_EQ(engine_->executed(), 0);
    EXPECT_EQ(send("junk outside frames"), "");  // other bytes are ignored
}

TEST_F(Engine, GapInsideARequestMakesItDamaged) {
    start();
    const std::string frame = encodeFrame('5', "n");
    EXPECT_EQ(send(frame.substr(0, 4)), "");
    wait(400ms);
    EXPECT_EQ(due(), "");
    wait(200ms);
    EXPECT_EQ(due(), kNak);
    EXPECT_EQ(send(frame.substr(4)), "");  // the rest alone is no frame
    EXPECT_EQ(engine_->executed(), 0);
}

TEST_F(Engine, SlowRequestsSendSynFirst) {
    LineOptions o;
    o.synMs = 700;
    o.synEveryMs = 200;
    start(o);
    EXPECT_EQ(send(encodeFrame('1', "PE")), kSyn);
    wait(200ms);
    EXPECT_EQ(due(), kSyn);
    wait(400ms);
    EXPECT_EQ(due(), kSyn + kSyn);
    wait(99ms);
    EXPECT_EQ(due(), "");
    wait(1ms);
    EXPECT_EQ(due(), encodeFrame('1', "A"));
    EXPECT_EQ(send(encodeFrame('2', "n")).substr(0, 5),
              "\x02"
              "016"
              "2");  // quick ones at once
    EXPECT_EQ(send(encodeFrame('3', "PTSOLD")), kSyn);
}

TEST_F(Engine, ReplyDelay) {
    LineOptions o;
    o.replyDelayMs = 50;
    start(o);
    EXPECT_EQ(send(encodeFrame('1', "C")), "");
    wait(49ms);
    EXPECT_EQ(due(), "");
    wait(1ms);
    EXPECT_EQ(due(), encodeFrame('1', "A"));
    ASSERT_TRUE(engine_->nextEvent() == std::nullopt);
}

TEST_F(Engine, LostReplyAfterExecutionComesFromTheStoreOnRepetition) {
    LineOptions o;
    o.dropAfterExec = 1.0;
    start(o);
    stockArticle();
    send(encodeFrame('A', "p"));
    const std::string request = encodeFrame('B', sale("000000000001"));
    EXPECT_EQ(send(request), "");
    EXPECT_EQ(send(request), encodeFrame('B', "A"));
    EXPECT_EQ(model_.memory().articles.at("000000000001").quantity, 1000);
}

TEST_F(Engine, FaultsDropRequestsAndDamageReplies) {
    LineOptions o;
    o.faultRate = 1.0;
    start(o);
    EXPECT_EQ(send(encodeFrame('1', "C")), "");  // dropped, never executed
    EXPECT_EQ(engine_->executed(), 0);
    EXPECT_EQ(send(kEnq), kAck);  // control bytes are not faulted

    // at a middling rate, the same seed gives the same faults
    const auto run = [&](std::uint64_t seed) {
        LineOptions half;
        half.faultRate = 0.5;
        half.seed = seed;
        RegisterModel model;
        LineEngine engine(model, half);
        std::string out;
        for (int i = 0; i < 40; ++i) {
            engine.receive(encodeFrame(static_cast<char>('!' + i), "n"), now_);
            engine.takeDue(now_, out);
        }
        return out;
    };
    const std::string a = run(7);
    EXPECT_EQ(a, run(7));
    EXPECT_NE(a, run(8));
    // some replies came intact, some damaged, some requests were dropped
    std::vector<qovdll::ReaderEvent> events;
    qovdll::FrameReader reader;
    reader.feed(a, events);
    int intact = 0;
    for (const auto& ev : events)
        intact += ev.kind == qovdll::ReaderEvent::Kind::Frame;
    EXPECT_GT(intact, 5);
    EXPECT_LT(intact, 35);
}

TEST_F(Engine, LogTellsExecutionsFromRepetitions) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("reg.log").toStdString();
    ASSERT_TRUE(log_.open(path));
    start();
    send(kEnq);
    const std::string request =
        encodeFrame('k', std::string("S0") + "A\\B" + std::string(29, ' ') + '\0');
    send(request);
    send(request);
    send(kNak);
    std::string bad = encodeFrame('x', "n");
    bad.back() = '?';
    send(bad);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "E ENQ\n"
              "> k S0A\\x5CB" +
                  std::string(29, ' ') +
                  "\\x00\n"
                  "< k A\n"
                  "= k\n"
                  "N in\n"
                  "= k\n"
                  "N out damaged\n");
}

// ---- modem -------------------------------------------------------------------------------

class Modem : public Engine {
protected:
    void dial(DialOutcome outcome, bool ring = false) {
        LineOptions o;
        o.modem = true;
        o.dial = outcome;
        o.ring = ring;
        o.dialDelayMs = 300;
        start(o);
    }
};

TEST_F(Modem, CommandModeAnswersOkAndIgnoresFrames) {
    dial(DialOutcome::Connect);
    EXPECT_EQ(send("ATZ\r"), "\r\nOK\r\n");
    EXPECT_EQ(send("at&f e0\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(send(kEnq + encodeFrame('1', "n")), "");  // no carrier: nothing reaches the register
    EXPECT_EQ(send("HELLO\r"), "");
    EXPECT_EQ(engine_->executed(), 0);
}

TEST_F(Modem, DialConnectsThenFramesFlowAndHangUpReturnsToCommands) {
    dial(DialOutcome::Connect, true);
    EXPECT_EQ(send("ATDT0111234567\r\n"), "");
    wait(150ms);
    EXPECT_EQ(due(), "\r\nRING\r\n");
    EXPECT_FALSE(engine_->online());
    wait(150ms);
    EXPECT_EQ(due(), "\r\nCONNECT 9600\r\n");
    EXPECT_TRUE(engine_->online());
    EXPECT_EQ(send("lozinka"), "");  // the password, no line end
    EXPECT_EQ(send(kEnq), kAck);
    EXPECT_EQ(send(encodeFrame('1', "C")), encodeFrame('1', "A"));
    EXPECT_EQ(send("+++"), "\r\nOK\r\n");
    EXPECT_EQ(send("ATH0\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(send(kEnq), "");
    EXPECT_FALSE(engine_->online());
}

TEST_F(Modem, HangUpLineWhileOnline) {
    dial(DialOutcome::Connect);
    send("ATDP55\r");
    wait(300ms);
    EXPECT_EQ(due(), "\r\nCONNECT 9600\r\n");
    EXPECT_EQ(send("ATH\r\n"), "\r\nOK\r\n");
    EXPECT_FALSE(engine_->online());
    // "+++ATH" in one piece: the escape and the command both answer
    send("ATD1\r");
    wait(300ms);
    due();
    EXPECT_EQ(send("+++ATH\r\n"), "\r\nOK\r\n\r\nOK\r\n");
    EXPECT_FALSE(engine_->online());
}

TEST_F(Modem, FailedDialsStayInCommandMode) {
    const std::pair<DialOutcome, std::string> cases[] = {
        {DialOutcome::Busy, "BUSY"},
        {DialOutcome::NoCarrier, "NO CARRIER"},
        {DialOutcome::NoAnswer, "NO ANSWER"},
        {DialOutcome::NoDialtone, "NO DIALTONE"},
    };
    for (const auto& [outcome, text] : cases) {
        dial(outcome);
        EXPECT_EQ(send("ATDT123\r"), "");
        wait(300ms);
        EXPECT_EQ(due(), "\r\n" + text + "\r\n");
        EXPECT_FALSE(engine_->online());
        EXPECT_EQ(send("AT\r"), "\r\nOK\r\n");
    }
}

}  // namespace

namespace {

// Whatever comes down the line, the register answers with a valid status or not at all.
TEST(EngineRobustness, RandomBytesAndRandomFrames) {
    RegisterModel model;
    qov::sim::LineOptions o;
    o.faultRate = 0.1;
    LineEngine engine(model, o);
    std::mt19937 rng(5);
    const std::string alphabet = std::string("PRSTFIRSTNEXTOLDQZXkmnrJCxpqfhgNDEBMUY0123456789 ") +
                                 '\0' + "\x02\x03\x05\x15\xC8\xFF";
    auto now = LineEngine::Clock::now();
    std::string out;
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int len = static_cast<int>(rng() % 60);
        for (int k = 0; k < len; ++k)
            text += alphabet[rng() % alphabet.size()];
        const Reply r = model.execute(text);
        ASSERT_TRUE(r.status == 'A' || r.status == 'R' || r.status == 'E') << text;
        if (i % 2)
            engine.receive(text, now);
        else
            engine.receive(encodeFrame(static_cast<char>(' ' + rng() % 95), text), now);
        now += std::chrono::milliseconds(rng() % 700);
        engine.poll(now);
        engine.takeDue(now, out);
    }
    EXPECT_FALSE(out.empty());
    // whatever was accepted keeps the shapes the replies are built from
    for (const auto& [code, a] : model.memory().articles) {
        EXPECT_EQ(code.size(), 12u);
        EXPECT_EQ(a.name.size(), 28u);
        EXPECT_LT(a.department, 10);
        EXPECT_LT(a.vat, 9);
    }
    for (const auto& d : model.memory().departments)
        EXPECT_EQ(d.name.size(), 12u);
    for (const auto& u : model.memory().units)
        EXPECT_EQ(u.size(), 3u);
    EXPECT_EQ(model.memory().system.size(), 14u);
}

}  // namespace
