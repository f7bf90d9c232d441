#include "link/link_calls.h"

#include <gtest/gtest.h>

#include "support/scripted_link.h"

namespace qov {
namespace {

TEST(LinkCalls, ModemModeChoosesTheOperationAndTheResultsAreKept) {
    for (const bool modem : {false, true}) {
        SharedState state;
        test::ScriptedLink link;
        LinkCalls calls{state, link};
        state.ModemMode = modem;
        const std::string m = modem ? "M" : "";
        link.expect("Testconnessione" + m, "", 1).expect("send_frame" + m, "R00PICE", 3);
        link.expect("get_frame" + m, "B00", 3, "abc").expect("send_frameMD", "x", 2);
        link.expect("get_frame120s", "PTSOLD", 1, "A").expect("get_frameT", "r", 0);
        EXPECT_EQ(calls.testConnection(), 1);
        EXPECT_EQ(calls.sendFrame("R00PICE"), 3);
        EXPECT_EQ(state.FrameBuffer + std::to_string(state.LinkResult), "R00PICE3");
        EXPECT_EQ(link.calls[1].arg, 7);  // the frame's length
        EXPECT_EQ(calls.requestFrame("B00"), 3);
        EXPECT_EQ(state.ReplyText + std::to_string(state.LinkResult), "abc3");
        EXPECT_EQ(calls.sendFrameMD("x"), 2);
        EXPECT_EQ(state.FrameBuffer + std::to_string(state.LinkResult), "x2");
        EXPECT_EQ(calls.requestFrame120s("PTSOLD"), 1);
        EXPECT_EQ(state.ReplyText, "A");
        // A reply without text leaves ReplyText as it was.
        EXPECT_EQ(calls.requestFrameT("r", 30000), 0);
        EXPECT_EQ(state.FrameBuffer + state.ReplyText + std::to_string(state.LinkResult), "rA0");
        EXPECT_EQ(link.calls.back().arg, 30000);
        EXPECT_TRUE(link.script.empty());
    }
}

TEST(LinkCalls, ReplyTextKeepsNulBytesAndCanTurnCommasIntoPoints) {
    SharedState state;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    state.ReplyText = "old";
    link.expect("get_frame", "B01", -4).expect("get_frame", "PTFIRST", 6, {"12,5\0x", 6});
    EXPECT_EQ(calls.requestFrame("B01"), -4);
    EXPECT_EQ(state.ReplyText, "old");
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
