// The remote keyboard: key frames, the display poll and its lines, the poll that ends the
// screen, the speed index.

#include <gtest/gtest.h>

#include "app/database.h"
#include "fiscal/keyboard.h"
#include "support/fake_station.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"

namespace qov::fiscal {
namespace {

using Texts = std::vector<std::string>;

struct KeyboardTest : ::testing::Test, test::FakeStation {
    KeyboardTest() {
        state.BaudRate = 9600;
        keyboard.open();
    }
    // A poll answered with `reply`.
    bool pollWith(const std::string& reply) {
        link.expect("get_frameT", "r", static_cast<int>(reply.size()), reply);
        return keyboard.poll();
    }

    Keyboard keyboard{station};
};

TEST_F(KeyboardTest, EveryKeySendsItsFrameWithSendFrameMDOnEitherLineKind) {
    for (bool modem : {false, true}) {
        state.ModemMode = modem;
        link.calls.clear();
        for (const KeyboardKey& key : kKeyboardKeys) {
            ASSERT_TRUE(keyboard.press(key.name));
        }
        ASSERT_EQ(link.count("send_frameMD"), 36);
        ASSERT_EQ(link.calls.size(), 36u);
        EXPECT_EQ(link.textsOf("send_frameMD")[24], "m018D");  // the mode key
        EXPECT_EQ(link.calls[0].arg, 5);
    }
}

TEST_F(KeyboardTest, SevenCommaFiveSendsThreeFramesInOrder) {
    for (const char* name : {"seven", "comma", "five"}) {
        keyboard.press(name);
    }
    EXPECT_EQ(link.textsOf("send_frameMD"), (Texts{"m0137", "m012C", "m0135"}));
    EXPECT_EQ(state.FrameBuffer, "m0135");
}

TEST_F(KeyboardTest, KeyPressStartsThePollUnderTheHourglassAndUnknownNamesSendNothing) {
    EXPECT_EQ(keyboard.timerInterval(), 0);
    EXPECT_FALSE(keyboard.poll());  // no tick before a key
    EXPECT_FALSE(keyboard.press("eleven"));
    EXPECT_FALSE(keyboard.press("Seven"));
    EXPECT_TRUE(link.calls.empty());
    EXPECT_EQ(keyboard.timerInterval(), 0);

    link.expect("send_frameMD", "m0186", 1);  // a refused key is not reported
    keyboard.press("clear");
    EXPECT_EQ(keyboard.timerInterval(), 100);
    EXPECT_EQ(dialogs.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(state.LinkResult, 1);
}

struct DisplayCase {
    const char* name;
    std::string reply;
    DisplayLines lines;
};

class DisplaySplit : public KeyboardTest, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplaySplit, PollShowsTheThreeLines) {
    keyboard.press("zero");
    pollWith(GetParam().reply);
    EXPECT_EQ(link.calls.back().arg, 30000);
    const DisplayLines& shown = keyboard.display();
    const DisplayLines& want = GetParam().lines;
    EXPECT_EQ(shown.operator1, want.operator1);
    EXPECT_EQ(shown.operator2, want.operator2);
    EXPECT_EQ(shown.customer, want.customer);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(keyboard.closeRequested());
}

const std::string kFull = "ABCDEFGHIJKLMNOP|QRSTUVWXYZ012345|abcdefghijklmnop";
INSTANTIATE_TEST_SUITE_P(
    Replies, DisplaySplit,
    ::testing::Values(
        DisplayCase{"full", kFull, {"ABCDEFGHIJKLMNOP", "QRSTUVWXYZ012345", "abcdefghijklmnop"}},
        DisplayCase{"ten", "0123456789", {"0123456789", "", ""}},
        DisplayCase{"one", "X", {"X", "", ""}},
        DisplayCase{"cutInLine2", kFull.substr(0, 20), {"ABCDEFGHIJKLMNOP", "QRS", ""}},
        DisplayCase{"seventeen", kFull.substr(0, 17), {"ABCDEFGHIJKLMNOP", "", ""}},
        DisplayCase{
            "longer", kFull + "ZZZZ", {"ABCDEFGHIJKLMNOP", "QRSTUVWXYZ012345", "abcdefghijklmnop"}},
        DisplayCase{"nulEndsLine", std::string("AB\0DEFGHIJKLMNOP|QRST", 21), {"AB", "QRST", ""}},
        DisplayCase{"nulFirst", std::string("\0\0\0", 3), {"", "", ""}},
        DisplayCase{"bytesAbove127", "\xC8\xE8\xFF", {"\xC8\xE8\xFF", "", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, UnchangedLinesReportNoChange) {
    keyboard.press("one");
    EXPECT_TRUE(pollWith(kFull));
    EXPECT_FALSE(pollWith(kFull));
    EXPECT_TRUE(pollWith("REGISTRACIJA"));
}

TEST_F(KeyboardTest, PollWithoutReplyEndsTheScreenOnce) {
    keyboard.press("one");
    pollWith(kFull);
    for (int result : {0, -1, -4}) {
        SCOPED_TRACE(result);
        KeyboardTest::SetUp();
        Keyboard k(station);
        k.open();
        k.press("two");
        link.expect("get_frameT", "r", result);
        EXPECT_FALSE(k.poll());
        EXPECT_TRUE(k.closeRequested());
        EXPECT_EQ(k.timerInterval(), 0);
        EXPECT_FALSE(k.poll());  // the poll has stopped: no further request
    }
    EXPECT_EQ(dialogs.lines(), (Texts(3, "Arvon Cash Registers: Veza nije u redu ! <critical>")));
    EXPECT_EQ(link.count("get_frameT"), 4);
    // The keyboard whose poll worked keeps its lines.
    EXPECT_EQ(keyboard.display().operator1, "ABCDEFGHIJKLMNOP");
}

TEST_F(KeyboardTest, CancelStopsThePoll) {
    keyboard.press("one");
    keyboard.cancel();
    EXPECT_TRUE(keyboard.closeRequested());
    EXPECT_EQ(keyboard.timerInterval(), 0);
    EXPECT_FALSE(keyboard.poll());
    EXPECT_EQ(link.count("get_frameT"), 0);
}

// A link that lets the window system work while it waits: here the poll's timer fires
// during the exchange.
struct ReentrantLink : test::ScriptedLink {
    Keyboard* keyboard = nullptr;
    int nestedPolls = 0;
    int send_frameMD(const std::string& text, int length) override {
        nestedPolls += keyboard->poll() ? 1 : 0;
        keyboard->press("nine");
        return ScriptedLink::send_frameMD(text, length);
    }
};

TEST(KeyboardReentry, APollOrKeyDuringAnExchangeIsSkipped) {
    SharedState state;
    test::ScriptedDialogs dialogs;
    ReentrantLink link;
    LinkCalls calls{state, link};
    const auto database = CreateSqlDatabase();
    test::MemoryUserStore userStore;
    Station station{state, dialogs, calls, *database, userStore};
    Keyboard keyboard(station);
    link.keyboard = &keyboard;
    keyboard.press("one");
    keyboard.press("two");
    EXPECT_EQ(link.textsOf("send_frameMD"), (Texts{"m0131", "m0132"}));
    EXPECT_EQ(link.count("get_frameT"), 0);
    EXPECT_EQ(link.nestedPolls, 0);
}

struct SpeedCase {
    int baudRate;
    int index;  // expected speed index after opening, starting from 4
};

class SpeedIndexOnOpen : public KeyboardTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedIndexOnOpen, FollowsTheLineSpeed) {
    state.SpeedIndex = 4;
    state.BaudRate = GetParam().baudRate;
    Keyboard k(station);
    k.open();
    EXPECT_EQ(state.SpeedIndex, GetParam().index);
    EXPECT_EQ(state.CurrentForm, "frmkeyboard");
}

INSTANTIATE_TEST_SUITE_P(Speeds, SpeedIndexOnOpen,
                         ::testing::Values(SpeedCase{4800, 0}, SpeedCase{9600, 1},
                                           SpeedCase{19200, 2}, SpeedCase{38400, 3},
                                           SpeedCase{57600, 4}, SpeedCase{2400, 4},
                                           SpeedCase{0, 4}));

TEST_F(KeyboardTest, SubtotalRunsTheSpeedCheckOnTheShownDisplay) {
    keyboard.press("key");
    pollWith("5.8.11.1 3");
    ASSERT_EQ(state.SpeedIndex, 1);
    keyboard.press("total");  // the check follows only "subtotal"
    EXPECT_EQ(state.SpeedIndex, 1);
    keyboard.press("subtotal");
    EXPECT_EQ(state.SpeedIndex, 3);
    EXPECT_EQ(link.textsOf("send_frameMD"), (Texts{"m018D", "m0187", "m0188"}));
}

TEST_F(KeyboardTest, SubtotalOnTheSpeedSetReopensTheLine) {
    keyboard.press("key");
    pollWith("5.8.11.4");
    state.SpeedIndex = 2;
    state.ConnectionString = "missing database";
    keyboard.press("subtotal");
    EXPECT_EQ(state.BaudRate, 19200);
    EXPECT_EQ(link.count("Init_RS232bd"), 1);
}

}  // namespace
}  // namespace qov::fiscal
