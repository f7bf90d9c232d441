// The remote keyboard's widget: its keys, the poll's timer and the display lines.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "fiscal/keyboard_screen.h"
#include "support/fake_station.h"

namespace qov::fiscal {
namespace {

struct KeyboardGui : ::testing::Test, test::FakeStation {};

TEST_F(KeyboardGui, EveryKeyOfTheTableIsAButtonThatSendsItsFrame) {
    KeyboardScreen screen(station);
    for (const KeyboardKey& key : kKeyboardKeys) {
        QPushButton* button = screen.keyButton(key.name);
        ASSERT_NE(button, nullptr) << key.name;
        EXPECT_FALSE(button->text().isEmpty());
        link.calls.clear();
        button->click();
        EXPECT_EQ(link.textsOf("send_frameMD"), std::vector<std::string>{KeyFrame(key.code)});
    }
}

TEST_F(KeyboardGui, TheTimerStartsWithTheFirstKeyAndShowsTheDisplay) {
    KeyboardScreen screen(station);
    screen.show();
    EXPECT_FALSE(screen.timer()->isActive());
    screen.keyButton("seven")->click();
    ASSERT_TRUE(screen.timer()->isActive());
    EXPECT_EQ(screen.timer()->interval(), 100);

    const std::string reply = "REGISTRACIJA    |               7|DOBRODOSLI      ";
    link.expect("get_frameT", "r", static_cast<int>(reply.size()), reply);
    screen.tick();
    EXPECT_EQ(screen.shownLine(0), "REGISTRACIJA    ");
    EXPECT_EQ(screen.shownLine(1), "               7");
    EXPECT_EQ(screen.shownLine(2), "DOBRODOSLI      ");

    link.expect("get_frameT", "r", -1);
    screen.tick();
    EXPECT_FALSE(screen.timer()->isActive());
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Veza nije u redu !"});
    EXPECT_EQ(screen.shownLine(0), "REGISTRACIJA    ");
}

TEST_F(KeyboardGui, EscapeClosesTheScreenAndStopsThePoll) {
    KeyboardScreen screen(station);
    screen.show();
    screen.keyButton("one")->click();
    auto* izlaz = screen.findChild<QPushButton*>("Cancel");
    ASSERT_NE(izlaz, nullptr);
    EXPECT_EQ(izlaz->shortcut(), QKeySequence(Qt::Key_Escape));
    izlaz->click();
    EXPECT_FALSE(screen.timer()->isActive());
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(link.count("get_frameT"), 0);
}

}  // namespace
}  // namespace qov::fiscal
