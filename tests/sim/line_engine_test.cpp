// The register's side of the line with a made-up clock: bytes in, bytes out.
#include "line_engine.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using qov::sim::LineEngine;
using qovdll::encodeFrame;

const std::string kEnq = "\x05", kAck = "\x06", kNak = "\x15", kSyn = "\x16";
// Sales of one and of two units of article 1.
const std::string kSale1 = "PS1000000000000100123456789123001100000100000000000";
const std::string kSale2 = "PS1000000000000100123456789123001100000200000000000";

class Engine : public ::testing::Test {
protected:
    void start(qov::sim::LineOptions options = {}) {
        engine_ = std::make_unique<LineEngine>(model_, options);
        model_.execute("PR00000000000100" + std::string(28, 'A') + "000001000100");
        model_.execute("PQ000000000001000100000");
    }
    // Feeds bytes now and returns what is due by then.
    std::string send(const std::string& bytes) {
        engine_->receive(bytes, now_);
        return after(0ms);
    }
    std::string after(std::chrono::milliseconds ms) {
        now_ += ms;
        std::string out;
        engine_->poll(now_);
        engine_->takeDue(now_, out);
        return out;
    }
    long long sold() const { return model_.memory().articles.at("000000000001").quantity; }

    qov::sim::RegisterModel model_;
    std::unique_ptr<LineEngine> engine_;
    LineEngine::Time now_ = LineEngine::Clock::now();
};

TEST_F(Engine, RequestsAnsweredWithTheirSeqAndRepetitionsFromTheStoredReply) {
    start();
    EXPECT_EQ(send(kNak), "");  // nothing stored yet
    EXPECT_EQ(send(kEnq), kAck);
    EXPECT_EQ(send(encodeFrame('7', "B10")), encodeFrame('7', "E"));
    EXPECT_EQ(send(encodeFrame('!', "J")), encodeFrame('!', "AAR0001100000001FM000001"));
    send(encodeFrame('A', "p"));
    const std::string request = encodeFrame('B', kSale1), reply = encodeFrame('B', "A");
    EXPECT_EQ(send(request), reply);
    EXPECT_EQ(send(request), reply);  // the same SEQ and CRC: not sold again
    EXPECT_EQ(send(kNak), reply);     // a NAK from the station: the same again
    EXPECT_EQ(sold(), 1000);
    send(encodeFrame('C', kSale1));  // a new SEQ is a new request
    send(encodeFrame('C', kSale2));  // and so is the same SEQ with other text
    EXPECT_EQ(send(kEnq), kAck);     // ENQ forgets the last request
    send(encodeFrame('C', kSale2));
    EXPECT_EQ(sold(), 6000);
    EXPECT_EQ(engine_->executed(), 7);
    EXPECT_EQ(engine_->repeated(), 2);
}

TEST_F(Engine, DamagedRequestsAndPausesAnsweredWithNak) {
    start();
    std::string badCrc = encodeFrame('5', "n");
    badCrc.back() = badCrc.back() == '0' ? '1' : '0';
    EXPECT_EQ(send(badCrc), kNak);
    EXPECT_EQ(send("\0020X1"), kNak);            // bad LEN
    EXPECT_EQ(send("\0020015nX"), kNak);         // no ETX
    EXPECT_EQ(send("junk outside frames"), "");  // ignored
    const std::string frame = encodeFrame('5', "n");
    EXPECT_EQ(send(frame.substr(0, 4)), "");
    EXPECT_EQ(after(500ms), "");
    EXPECT_EQ(after(1ms), kNak);           // a pause of more than 500 ms inside a request
    EXPECT_EQ(send(frame.substr(4)), "");  // the rest alone is no frame
    EXPECT_EQ(engine_->executed(), 0);
}

TEST_F(Engine, OutputInPiecesAndTheByteGapAsOptions) {
    qov::sim::LineOptions options;
    options.chunk = 4;
    options.chunkDelayMs = 10;
    options.gapMs = 100;
    start(options);
    const std::string reply = encodeFrame('7', "E");  // 11 bytes
    EXPECT_EQ(send(encodeFrame('7', "B10")), reply.substr(0, 4));
    EXPECT_EQ(after(9ms), "");
    EXPECT_EQ(after(1ms), reply.substr(4, 4));
    EXPECT_EQ(after(10ms), reply.substr(8));
    EXPECT_EQ(send(encodeFrame('8', "n").substr(0, 4)), "");
    EXPECT_EQ(after(100ms), "");
    EXPECT_EQ(after(1ms), kNak);
}

TEST_F(Engine, SlowRequestsSendSynUntilTheReply) {
    start({.synMs = 700});
    EXPECT_EQ(send(encodeFrame('1', "PE")), kSyn);
    EXPECT_EQ(after(200ms), kSyn);
    EXPECT_EQ(after(400ms), kSyn + kSyn);
    EXPECT_EQ(after(99ms), "");
    EXPECT_EQ(after(1ms), encodeFrame('1', "A"));
    EXPECT_EQ(send(encodeFrame('2', "C")), encodeFrame('2', "A"));  // quick ones at once
    EXPECT_EQ(send(encodeFrame('3', "PTSOLD")), kSyn);
}

}  // namespace
