#include "link/link_calls.h"

#include <gtest/gtest.h>

#include "support/scripted_link.h"

namespace qov {
namespace {

// ModemMode chooses the link operation; the frame sent, the reply and the result are kept in
// the shared state. A failed request or a reply without text leaves ReplyText as it was; reply
// text keeps NUL bytes and can turn commas into points.
TEST(LinkCalls, ModemModeChoosesTheOperationAndTheFramesRepliesAndResultsAreKept) {
    for (const bool modem : {false, true}) {
        SharedState state;
        test::ScriptedLink link;
        LinkCalls calls{state, link};
        state.ModemMode = modem;
        const std::string m = modem ? "M" : "";
        link.expect("Testconnessione" + m, "", 1).expect("send_frame" + m, "R00PICE", 3);
        link.expect("get_frame" + m, "B00", 3, "abc").expect("send_frameMD", "x", 2);
        link.expect("get_frame120s", "PTSOLD", 1, "A").expect("get_frameT", "r", 0);
        link.expect("get_frame" + m, "B01", -4).expect("get_frame" + m, "F", 6, {"12,5\0x", 6});
        // A call's result, then FrameBuffer, ReplyText and LinkResult after it.
        const auto after = [&](int result) {
            return std::to_string(result) + " " + state.FrameBuffer + "|" + state.ReplyText + "|" +
                   std::to_string(state.LinkResult);
        };
        EXPECT_EQ(calls.testConnection(), 1);
        EXPECT_EQ(after(calls.sendFrame("R00PICE")), "3 R00PICE||3");
        EXPECT_EQ(link.calls[1].arg, 7);  // the frame's length
        EXPECT_EQ(after(calls.requestFrame("B00")), "3 B00|abc|3");
        EXPECT_EQ(after(calls.sendFrameMD("x")), "2 x|abc|2");
        EXPECT_EQ(after(calls.requestFrame120s("PTSOLD")), "1 PTSOLD|A|1");
        EXPECT_EQ(after(calls.requestFrameT("r", 30000)), "0 r|A|0");
        EXPECT_EQ(link.calls.back().arg, 30000);
        EXPECT_EQ(after(calls.requestFrame("B01")), "-4 B01|A|-4");
        EXPECT_EQ(after(calls.requestFrame("F")), "6 F|" + std::string("12,5\0x", 6) + "|6");
        EXPECT_EQ(calls.replyText(6, true), std::string("12.5\0x", 6));
        EXPECT_TRUE(link.script.empty());
        // Position 0 is never part of the text, and a count beyond the buffer stops at 112.
        state.ReplyBytes[0] = 'Z';
        EXPECT_EQ(calls.replyText(1) + calls.replyText(-3), "1");
        EXPECT_EQ(calls.replyText(500).size(), 112u);
    }
}

}  // namespace
}  // namespace qov
