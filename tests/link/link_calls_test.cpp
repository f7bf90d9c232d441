#include "link/link_calls.h"

#include <gtest/gtest.h>

#include "support/scripted_link.h"

namespace qov {
namespace {

class LinkCallsTest : public ::testing::Test {
protected:
    SharedState state;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
};

TEST_F(LinkCallsTest, DirectLineUsesThePlainOperations) {
    link.expect("Testconnessione", "", 0)
        .expect("send_frame", "R00PICE", 1)
        .expect("get_frame", "B00", 3, "abc");
    EXPECT_EQ(calls.testConnection(), 0);
    EXPECT_EQ(calls.sendFrame("R00PICE"), 1);
    EXPECT_EQ(state.LinkResult, 1);
    EXPECT_EQ(state.FrameBuffer, "R00PICE");
    EXPECT_EQ(calls.requestFrame("B00"), 3);
    EXPECT_EQ(state.ReplyText, "abc");
    EXPECT_EQ(state.LinkResult, 3);
    EXPECT_EQ(link.calls[1].arg, 7);  // the frame's length
}

TEST_F(LinkCallsTest, ModemLineUsesTheModemOperations) {
    state.ModemMode = true;
    link.expect("TestconnessioneM", "", 1)
        .expect("send_frameM", "k", 0)
        .expect("get_frameM", "n", 2, "15");
    EXPECT_EQ(calls.testConnection(), 1);
    EXPECT_EQ(calls.sendFrame("k"), 0);
    EXPECT_EQ(calls.requestFrame("n"), 2);
    EXPECT_EQ(state.ReplyText, "15");
}

TEST_F(LinkCallsTest, SingleFormOperationsIgnoreTheLineKind) {
    state.ModemMode = true;
    link.expect("send_frameMD", "x", 2)
        .expect("get_frame120s", "PTSOLD", 1, "A")
        .expect("get_frameT", "r", 0);
    EXPECT_EQ(calls.sendFrameMD("x"), 2);
    EXPECT_EQ(calls.requestFrame120s("PTSOLD"), 1);
    EXPECT_EQ(calls.requestFrameT("r", 30000), 0);
    EXPECT_EQ(link.calls.back().arg, 30000);
}

TEST_F(LinkCallsTest, ReplyTextIsRebuiltOnlyForReplies) {
    state.ReplyText = "old";
    link.expect("get_frame", "B01", -4).expect("get_frame", "B02", 0);
    EXPECT_EQ(calls.requestFrame("B01"), -4);
    EXPECT_EQ(calls.requestFrame("B02"), 0);
    EXPECT_EQ(state.ReplyText, "old");
    EXPECT_EQ(state.LinkResult, 0);
}

TEST_F(LinkCallsTest, ReplyTextKeepsNulBytesAndCanTurnCommasIntoPoints) {
    link.expect("get_frame", "PTFIRST", 6, std::string("12,5\0x", 6));
    EXPECT_EQ(calls.requestFrame("PTFIRST"), 6);
    EXPECT_EQ(state.ReplyText, std::string("12,5\0x", 6));
    EXPECT_EQ(calls.replyText(6, true), std::string("12.5\0x", 6));
    // Position 0 is never part of the text, and a count beyond the buffer stops at 112.
    state.ReplyBytes[0] = 'Z';
    EXPECT_EQ(calls.replyText(1), "1");
    EXPECT_EQ(calls.replyText(500).size(), 112u);
    EXPECT_EQ(calls.replyText(-3), "");
}

}  // namespace
}  // namespace qov
