// The register commands shared by the fiscal procedures and the remote keyboard: key frames,
// the status and display requests and their readers.
#include "fiscal/register_commands.h"

#include <gtest/gtest.h>

#include "support/scripted_link.h"

namespace qov {
namespace {

using Texts = std::vector<std::string>;

struct Rig {
    SharedState state;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
};

TEST(RegisterCommands, KeyFramesGoOutWithTheirOwnOperation) {
    Rig rig;
    rig.link.expect("send_frame", "m0187", 0).expect("send_frameMD", "m012C", 3);
    EXPECT_EQ(PressKey(rig.calls, kKeyTotal), 0);
    EXPECT_EQ(PressKeyMD(rig.calls, "2C"), 3);
    EXPECT_EQ(rig.state.LinkResult, 3);
    EXPECT_EQ(rig.state.FrameBuffer, "m012C");
    EXPECT_EQ(KeyFrame(DigitKeyCode('7')), "m0137");
    EXPECT_EQ(rig.link.calls[0].arg, 5);
}

// A status reply: "01", menu position, "0", last error (2), working state, "000", articles (5).
TEST(RegisterCommands, StatusReplyFields) {
    // The fields read from each reply as "menu|error|working|articles", from 9|99|9|999.
    auto read = [](const std::string& reply) {
        RegisterStatus s{9, 99, 9, 999};
        const bool ok = ReadStatusReply(reply, s);
        return std::string(ok ? "" : "unread ") + std::to_string(s.menuPosition) + "|" +
               std::to_string(s.lastError) + "|" + std::to_string(s.workingState) + "|" +
               std::to_string(s.articleCount);
    };
    EXPECT_EQ(read("013044100500012"), "3|44|1|12");
    EXPECT_EQ(read("0150  000000007"), "5|99|0|7");  // a blank error keeps its field
    EXPECT_EQ(read("0100 7200000040"), "0|7|2|40");
    EXPECT_EQ(read("0100-1200000040"), "0|-1|2|40");
    EXPECT_EQ(read("0100000000012.5"), "0|0|0|12");
    EXPECT_EQ(read("014"), "4|99|9|999");  // short: the rest kept
    EXPECT_EQ(read("012xAB?xxxABCDE"), "2|99|9|999");
    EXPECT_EQ(read("01X0000000000012"), "unread 9|99|9|999");
    EXPECT_EQ(read("01"), "unread 9|99|9|999");
    EXPECT_EQ(read(""), "unread 9|99|9|999");
}

TEST(RegisterCommands, StatusRequestTriesThreeTimesAndSkipsUnreadableReplies) {
    Rig rig;
    rig.link.expect("get_frame", "n", -1).replyTo("n", "01X").replyTo("n", "0120031000");
    RegisterStatus status;
    EXPECT_TRUE(RequestStatus(rig.calls, status));
    EXPECT_EQ(status.menuPosition, 2);
    EXPECT_EQ(status.lastError, 3);
    EXPECT_EQ(status.workingState, 1);
    EXPECT_EQ(rig.link.count("get_frame"), 3);
}

TEST(RegisterCommands, StatusRequestWithoutReplyKeepsTheFields) {
    Rig rig;
    rig.link.expect("get_frame", "n", -1).expect("get_frame", "n", 0).replyTo("n", "0");
    rig.link.replyTo("n", "015");  // never asked: three attempts only
    RegisterStatus status{4, 20, 2, 30};
    EXPECT_FALSE(RequestStatus(rig.calls, status));
    EXPECT_EQ(status.menuPosition, 4);
    EXPECT_EQ(status.lastError, 20);
    EXPECT_EQ(rig.link.count("get_frame"), 3);
}

TEST(RegisterCommands, DisplayRequestFiveAttemptsThenNe) {
    Rig rig;
    for (int i = 0; i < 4; ++i)
        rig.link.expect("get_frame", "r", -1);
    rig.link.replyTo("r", "E 22            |STAVITE PAPIR");
    EXPECT_EQ(RequestDisplay(rig.calls), "E 22            ");

    Rig none;
    for (int i = 0; i < 6; ++i)
        none.link.expect("get_frame", "r", -1);
    EXPECT_EQ(RequestDisplay(none.calls), "Ne");
    EXPECT_EQ(none.link.count("get_frame"), 5);
}

TEST(RegisterCommands, DisplayPollUsesTheLongWaitAndKeepsLinesOnFailure) {
    Rig rig;
    rig.link.expect("get_frameT", "r", 10, "0123456789").expect("get_frameT", "r", -1);
    DisplayLines lines{"a", "b", "c"};
    EXPECT_EQ(PollDisplay(rig.calls, lines), 10);
    EXPECT_EQ(lines.operator1, "0123456789");
    EXPECT_EQ(lines.customer, "");
    EXPECT_EQ(rig.link.calls[0].arg, 30000);
    lines.customer = "kept";
    EXPECT_EQ(PollDisplay(rig.calls, lines), -1);
    EXPECT_EQ(lines.customer, "kept");
    // The keyboard's poll cases split whole replies; an empty one gives three empty lines.
    lines = SplitDisplay("");
    EXPECT_EQ(lines.operator1 + lines.operator2 + lines.customer, "");
}

}  // namespace
}  // namespace qov
