// The logo screens: the slot frames, the file choice and the sending of the bitmap.

#include <gtest/gtest.h>

#include "fiscal/logo.h"
#include "support/fake_station.h"

namespace qov::fiscal {
namespace {

struct LogoTest : ::testing::Test, test::FakeStation {};

// The slot frame on either line kind, whether the picture screen opens, and the boxes.
TEST_F(LogoTest, OtvoriSendsTheSlotFrame) {
    auto otvori = [&](int slot, bool modem, int result) {
        link.calls.clear();
        dialogs.clear();
        state.ModemMode = modem;
        link.defaultSend = result;  // the link's answer to the slot frame
        GraphicLogo logo(station);
        logo.slot = slot;
        std::string out = logo.otvori() ? "opens" : "stays";
        for (const auto& call : link.calls) {
            out += "|" + call.op + ": " + call.text;
        }
        for (const std::string& box : dialogs.lines()) {
            out += "|" + box;
        }
        return out;
    };
    const std::string bad = "|Arvon Cash Registers: Komunikacija nije dobra ! <info>";
    EXPECT_EQ(otvori(1, false, 0), "opens|send_frame: N0");
    EXPECT_EQ(otvori(2, false, 0), "opens|send_frame: N1");
    EXPECT_EQ(otvori(2, true, 0), "opens|send_frameM: N1");
    EXPECT_EQ(otvori(0, false, 0), "stays|Arvon Cash Registers: Izaberite logo . <info>");
    EXPECT_EQ(otvori(2, false, 1), "stays|send_frame: N1" + bad);  // refused
    EXPECT_EQ(otvori(1, false, 2), "stays|send_frame: N0" + bad);  // broken
}

TEST_F(LogoTest, AChosenBitmapIsShownAndSent) {
    dialogs.openWith("/home/op/logo \xC5\xA1.bmp");
    LogoDocument doc(station);
    doc.open();
    ASSERT_EQ(dialogs.openDialogs.size(), 1u);
    EXPECT_EQ(dialogs.openDialogs[0].title, "Open");
    EXPECT_EQ(dialogs.openDialogs[0].filter, "All Files (*.bmp)|*.bmp");
    EXPECT_EQ(state.CurrentForm, "ne");
    EXPECT_EQ(state.LogoFilePath, "/home/op/logo \xC5\xA1.bmp");
    EXPECT_EQ(doc.caption(), "Logo - /home/op/logo \xC5\xA1.bmp");

    link.expect("Invialogo", "/home/op/logo \xC5\xA1.bmp", 7);
    doc.posalji();
    EXPECT_EQ(link.count("Invialogo"), 1);
    EXPECT_EQ(state.LinkResult, 7);
    EXPECT_TRUE(doc.closeRequested());
    EXPECT_EQ(dialogs.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(dialogs.boxes.empty());  // the outcome is not reported
}

TEST_F(LogoTest, ACancelledDialogLeavesTheScreenEmptyAndPosaljiDoesNothing) {
    state.LogoFilePath = "/old/logo.bmp";
    LogoDocument doc(station);
    doc.open();  // no answer queued: cancelled
    EXPECT_EQ(doc.file(), "");
    EXPECT_EQ(doc.caption(), "Logo");
    EXPECT_EQ(state.LogoFilePath, "/old/logo.bmp");
    doc.posalji();
    EXPECT_TRUE(link.calls.empty());
    EXPECT_FALSE(doc.closeRequested());
    EXPECT_TRUE(dialogs.busyChanges.empty());
    doc.izlaz();
    EXPECT_TRUE(doc.closeRequested());
}

}  // namespace
}  // namespace qov::fiscal
