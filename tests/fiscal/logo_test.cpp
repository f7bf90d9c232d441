// The logo screens: the slot frames, the file choice and the sending of the bitmap.

#include <gtest/gtest.h>

#include "app/database.h"
#include "fiscal/logo.h"
#include "support/fake_station.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"

namespace qov::fiscal {
namespace {

using Texts = std::vector<std::string>;

struct LogoTest : ::testing::Test, test::FakeStation {};

struct SlotCase {
    const char* name;
    int slot;
    bool modem;
    int result;    // the link's answer to the slot frame
    Texts frames;  // (op: text) sent
    bool opens;    // the picture screen opens
    Texts boxes;
};

class LogoSlot : public LogoTest, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(LogoSlot, Otvori) {
    const SlotCase& c = GetParam();
    state.ModemMode = c.modem;
    link.defaultSend = c.result;
    GraphicLogo logo(station);
    logo.slot = c.slot;
    EXPECT_EQ(logo.otvori(), c.opens);
    Texts frames;
    for (const auto& call : link.calls) {
        frames.push_back(call.op + ": " + call.text);
    }
    EXPECT_EQ(frames, c.frames);
    EXPECT_EQ(dialogs.lines(), c.boxes);
}

const Texts kNoBox;
INSTANTIATE_TEST_SUITE_P(
    Cases, LogoSlot,
    ::testing::Values(
        SlotCase{"logo1", 1, false, 0, {"send_frame: N0"}, true, kNoBox},
        SlotCase{"logo2", 2, false, 0, {"send_frame: N1"}, true, kNoBox},
        SlotCase{"logo2Modem", 2, true, 0, {"send_frameM: N1"}, true, kNoBox},
        SlotCase{"none", 0, false, 0, {}, false, {"Arvon Cash Registers: Izaberite logo . <info>"}},
        SlotCase{"refused",
                 2,
                 false,
                 1,
                 {"send_frame: N1"},
                 false,
                 {"Arvon Cash Registers: Komunikacija nije dobra ! <info>"}},
        SlotCase{"broken",
                 1,
                 false,
                 2,
                 {"send_frame: N0"},
                 false,
                 {"Arvon Cash Registers: Komunikacija nije dobra ! <info>"}}),
    [](const auto& info) { return std::string(info.param.name); });

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
