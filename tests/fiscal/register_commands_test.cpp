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

TEST(RegisterCommands, StatusReplyFields) {
    struct Case {
        const char* name;
        std::string reply;
        bool read;
        RegisterStatus expected;  // starting from {9, 99, 9, 999}
    };
    const Case cases[] = {
        {"full",
         "01"
         "3"
         "0"
         "44"
         "1"
         "005"
         "00012",
         true,
         {3, 44, 1, 12}},
        {"blank error",
         "01"
         "5"
         "0"
         "  "
         "0"
         "000"
         "00007",
         true,
         {5, 99, 0, 7}},
        {"error with blank",
         "01"
         "0"
         "0"
         " 7"
         "2"
         "000"
         "00040",
         true,
         {0, 7, 2, 40}},
        {"negative error",
         "01"
         "0"
         "0"
         "-1"
         "2"
         "000"
         "00040",
         true,
         {0, -1, 2, 40}},
        {"articles decimal",
         "01"
         "0"
         "0"
         "00"
         "0"
         "000"
         "012.5",
         true,
         {0, 0, 0, 12}},
        {"short keeps the rest", "014", true, {4, 99, 9, 999}},
        {"non-digit fields kept",
         "01"
         "2"
         "x"
         "AB"
         "?"
         "xxx"
         "ABCDE",
         true,
         {2, 99, 9, 999}},
        {"menu non-digit", "01X0000000000012", false, {9, 99, 9, 999}},
        {"menu missing", "01", false, {9, 99, 9, 999}},
        {"empty", "", false, {9, 99, 9, 999}},
    };
    for (const Case& c : cases) {
        RegisterStatus status{9, 99, 9, 999};
        EXPECT_EQ(ReadStatusReply(c.reply, status), c.read) << c.name;
        EXPECT_EQ(status.menuPosition, c.expected.menuPosition) << c.name;
        EXPECT_EQ(status.lastError, c.expected.lastError) << c.name;
        EXPECT_EQ(status.workingState, c.expected.workingState) << c.name;
        EXPECT_EQ(status.articleCount, c.expected.articleCount) << c.name;
    }
}

TEST(RegisterCommands, StatusRequestTriesThreeTimesAndSkipsUnreadableReplies) {
    Rig rig;
    rig.link.expect("get_frame", "n", -1)
        .replyTo("n", "01X")
        .replyTo("n",
                 "01"
                 "2"
                 "0"
                 "03"
                 "1"
                 "000");
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

TEST(RegisterCommands, DisplaySplit) {
    struct Case {
        const char* name;
        std::string reply;
        Texts lines;
    };
    const Case cases[] = {
        {"full",
         "ABCDEFGHIJKLMNOP|QRSTUVWXYZ012345|abcdefghijklmnop",
         {"ABCDEFGHIJKLMNOP", "QRSTUVWXYZ012345", "abcdefghijklmnop"}},
        {"ten", "0123456789", {"0123456789", "", ""}},
        {"into the second", "ABCDEFGHIJKLMNOP|QRS", {"ABCDEFGHIJKLMNOP", "QRS", ""}},
        {"empty", "", {"", "", ""}},
    };
    for (const Case& c : cases) {
        const DisplayLines lines = SplitDisplay(c.reply);
        EXPECT_EQ((Texts{lines.operator1, lines.operator2, lines.customer}), c.lines) << c.name;
    }
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
}

}  // namespace
}  // namespace qov
