// The remote keyboard: key frames, the display poll and its lines, the poll that ends the
// screen, the speed index.

#include <gtest/gtest.h>

#include "fiscal/keyboard.h"
#include "support/fake_station.h"

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

const std::string kFull = "ABCDEFGHIJKLMNOP|QRSTUVWXYZ012345|abcdefghijklmnop";

// The display reply split into the operator's two lines and the customer's, "|" between them.
TEST_F(KeyboardTest, PollShowsTheThreeLines) {
    auto poll = [&](const std::string& reply) {
        pollWith(reply);
        EXPECT_EQ(link.calls.back().arg, 30000);
        const DisplayLines& shown = keyboard.display();
        return shown.operator1 + "|" + shown.operator2 + "|" + shown.customer;
    };
    keyboard.press("zero");
    EXPECT_EQ(poll(kFull), kFull);
    EXPECT_EQ(poll("0123456789"), "0123456789||");
    EXPECT_EQ(poll("X"), "X||");
    EXPECT_EQ(poll(kFull.substr(0, 20)), "ABCDEFGHIJKLMNOP|QRS|");
    EXPECT_EQ(poll(kFull.substr(0, 17)), "ABCDEFGHIJKLMNOP||");
    EXPECT_EQ(poll(kFull + "ZZZZ"), kFull);
    EXPECT_EQ(poll(std::string("AB\0DEFGHIJKLMNOP|QRST", 21)), "AB|QRST|");  // NUL ends a line
    EXPECT_EQ(poll(std::string("\0\0\0", 3)), "||");
    EXPECT_EQ(poll("\xC8\xE8\xFF"), "\xC8\xE8\xFF||");  // bytes above 127
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(keyboard.closeRequested());
}

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

// The speed index after opening on a line speed, starting from 4.
TEST_F(KeyboardTest, SpeedIndexOnOpenFollowsTheLineSpeed) {
    std::string indexes;
    for (int baudRate : {4800, 9600, 19200, 38400, 57600, 2400, 0}) {
        state.SpeedIndex = 4;
        state.BaudRate = baudRate;
        state.CurrentForm = "";
        Keyboard(station).open();
        indexes += std::to_string(state.SpeedIndex) + state.CurrentForm + " ";
    }
    EXPECT_EQ(indexes,
              "0frmkeyboard 1frmkeyboard 2frmkeyboard 3frmkeyboard 4frmkeyboard 4frmkeyboard "
              "4frmkeyboard ");
}

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
