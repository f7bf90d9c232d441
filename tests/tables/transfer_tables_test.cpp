#include <string>

#include "table_fixture.h"
#include "tables/departments.h"
#include "text/transcode.h"

namespace qov::test {
namespace {

using tables::DepartmentFrame;
using tables::invia_rep;
using tables::ricevi_rep;

// Frame "R" as it goes out, for one department.
struct FrameCase {
    const char* what;
    bool cyrillicMode;
    bool cyrillicLanguage;
    int number;
    std::string description;
    std::string maxPrice;
    std::string frame;
    std::string stored;  // the description written back
};

class DepartmentFrameTest : public TableFixture, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(DepartmentFrameTest, SendsTheFrameAndWritesBack) {
    const FrameCase& c = GetParam();
    state.CyrillicMode = c.cyrillicMode;
    state.CyrillicLanguage = c.cyrillicLanguage;
    for (int n = 1; n <= 10; ++n) {
        state.DepartmentTable[n].description.clear();
    }
    state.DepartmentTable[c.number].description = c.description;
    state.DepartmentTable[c.number].maxPrice = c.maxPrice;
    link.expect("send_frame", c.frame, 0);

    EXPECT_TRUE(invia_rep(ctx));

    EXPECT_EQ(link.textsOf("send_frame"), std::vector<std::string>{c.frame}) << c.what;
    EXPECT_EQ(state.DepartmentTable[c.number].description, c.stored) << c.what;
    EXPECT_EQ(state.FrameBuffer, c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    Departments, DepartmentFrameTest,
    ::testing::Values(
        FrameCase{"latin", false, false, 3, "PICE", "250", "R02PICE        00000250",
                  "PICE        "},
        FrameCase{"empty price is eight zeros", false, false, 1, "Hleb", "",
                  "R00Hleb        00000000", "Hleb        "},
        FrameCase{"blank price is eight zeros", false, false, 10, "Mleko", "        ",
                  "R09Mleko       00000000", "Mleko       "},
        FrameCase{"price padded by the editor", false, false, 2, "Meso", "00012345",
                  "R01Meso        00012345", "Meso        "},
        FrameCase{"13 characters cut to 12 in the frame only", false, false, 4, "ABCDEFGHIJKLM",
                  "1", "R03ABCDEFGHIJKL00000001", "ABCDEFGHIJKLM"},
        FrameCase{"cyrillic: font text to register code", true, true, 5, "PI]E", "99",
                  "R04" + Reg({191, 184, 171, 181}) + "        00000099", "PI]E        "},
        FrameCase{"cyrillic mode packs digraphs, written back", true, true, 6, "Njiva lj", "7",
                  "R05" + Reg({170, 216, 210, 208, 32, 249}) + "      00000007", "Wiva q      "},
        FrameCase{"latin mode unpacks font text, written back", false, false, 7, "Wiva", "0",
                  "R06Njiva       00000000", "Njiva       "},
        FrameCase{"cyrillic mode, latin language keeps font text", true, false, 8, "Lj", "5",
                  "R07Q           00000005", "Q           "}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

using DepartmentSend = TableFixture;

TEST_F(DepartmentSend, BlankDescriptionsAreSkippedWithTheCounterMoving) {
    latin();
    for (int n = 1; n <= 10; ++n) {
        state.DepartmentTable[n].description = n % 2 == 0 ? "   " : "D" + std::to_string(n);
    }
    EXPECT_TRUE(invia_rep(ctx));
    const auto frames = link.textsOf("send_frame");
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0].substr(0, 6), "R00D1 ");
    EXPECT_EQ(frames[4].substr(0, 6), "R08D9 ");
    EXPECT_EQ(state.DepartmentTable[2].description, "   ");  // skipped: not padded
    EXPECT_EQ(progress.counter(), "10");
    EXPECT_EQ(dialogs.yields, 10);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DepartmentSend, AllBlankSendsNothingAndSucceeds) {
    for (auto& d : state.DepartmentTable) {
        d.description = "";
    }
    EXPECT_TRUE(invia_rep(ctx));
    EXPECT_EQ(link.count("send_frame"), 0);
}

TEST_F(DepartmentSend, ModemModeSendsWithTheModemOperation) {
    latin();
    state.ModemMode = true;
    EXPECT_TRUE(invia_rep(ctx));
    EXPECT_EQ(link.count("send_frameM"), 10);
    EXPECT_EQ(link.count("send_frame"), 0);
}

// The transmit record loop as departments run it.
using TransmitLoop = TableFixture;

TEST_F(TransmitLoop, RefusedRecordIsRetriedThenAccepted) {
    latin();
    link.expect("send_frame", "R00Odeljenje  100000000", 1)
        .expect("send_frame", "R00Odeljenje  100000000", 1)
        .expect("send_frame", "R00Odeljenje  100000000", 0);
    dialogs.answer(Answer::Retry).answer(Answer::Retry);

    EXPECT_TRUE(invia_rep(ctx));

    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Odeljenje 00 nije primljeno u kasu!\n");
    EXPECT_EQ(dialogs.boxes[0].title, "Arvon Cash Registers");
    EXPECT_EQ(dialogs.boxes[0].buttons, Buttons::RetryCancel);
    EXPECT_EQ(link.count("send_frame"), 12);
}

TEST_F(TransmitLoop, CancelEndsTheTableWithFalse) {
    latin();
    link.expect("send_frame", "R00Odeljenje  100000000", 0)
        .expect("send_frame", "R01Odeljenje  200000000", 1);
    dialogs.answer(Answer::Cancel);

    EXPECT_FALSE(invia_rep(ctx));

    EXPECT_EQ(link.count("send_frame"), 2);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Odeljenje 01 nije primljeno u kasu!\n"});
    EXPECT_EQ(progress.counter(), "1");
}

TEST_F(TransmitLoop, BrokenLinkShowsItsOddTitleAndEnds) {
    latin();
    link.expect("send_frame", "R00Odeljenje  100000000", 2);

    EXPECT_FALSE(invia_rep(ctx));

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Komunikacija je prekinuta!");
    EXPECT_EQ(dialogs.boxes[0].title, "Arvon CAsh Registers");
    EXPECT_EQ(dialogs.boxes[0].icon, Icon::Exclamation);
    EXPECT_EQ(dialogs.boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(link.count("send_frame"), 1);
    EXPECT_EQ(progress.counter(), "");
}

TEST_F(TransmitLoop, OtherResultsCountAsDone) {
    latin();
    link.then(3).then(-1).then(7);
    EXPECT_TRUE(invia_rep(ctx));
    EXPECT_EQ(link.count("send_frame"), 10);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(state.LinkResult, 0);
}

// Replies to "B" requests.
std::string Reply(const std::string& number, const std::string& name, const std::string& price,
                  const std::string& sales, const std::string& qty) {
    return number + name + price + sales + qty;
}

using ReceiveLoop = TableFixture;

TEST_F(ReceiveLoop, StoresEveryFieldOfTheReply) {
    latin();
    link.replyTo("B00", Reply("00", "Hleb        ", "00000250", "00000012345", "000001500"));
    link.replyTo("B01", Reply("01", std::string("Mleko\0zzzzzz", 12), "00000100", "00000000001",
                              "000000001"));
    for (int n = 2; n <= 9; ++n) {
        link.replyTo("B0" + std::to_string(n),
                     Reply("0" + std::to_string(n), "Dept" + std::to_string(n) + "       ",
                           "00000000", "00000000000", "000000000"));
    }

    EXPECT_TRUE(ricevi_rep(ctx));

    const DepartmentRecord& d1 = state.DepartmentTable[1];
    EXPECT_EQ(d1.description, "Hleb        ");
    EXPECT_EQ(d1.maxPrice, "00000250");
    EXPECT_EQ(d1.salesValue, "00000012345");
    EXPECT_EQ(d1.quantitySold, "000001500");
    EXPECT_EQ(state.DepartmentTable[2].description, "Mleko       ");
    EXPECT_EQ(state.DepartmentTable[10].description, "Dept9       ");
    EXPECT_EQ(progress.counter(), "10");
    EXPECT_FALSE(state.tableCyrillic(CyrTable::Departments));
    EXPECT_EQ(link.textsOf("get_frame").front(), "B00");
    EXPECT_EQ(link.textsOf("get_frame").back(), "B09");
}

TEST_F(ReceiveLoop, TheReplyNumberSelectsTheRecord) {
    link.defaultRequest = 0;  // the records not scripted: nothing received
    latin();
    link.replyTo("B00", Reply("04", "Pet         ", "00000005", "1", "2"));
    link.replyTo("B01", "x");   // names no department: nothing stored
    link.replyTo("B02", "12");  // department 13 does not exist
    EXPECT_TRUE(ricevi_rep(ctx));
    EXPECT_EQ(state.DepartmentTable[5].description, "Pet         ");
    EXPECT_EQ(state.DepartmentTable[1].description, "Odeqewe  1");
    EXPECT_EQ(state.DepartmentTable[2].description, "Odeqewe  2");
}

TEST_F(ReceiveLoop, ShortReplyIsStoredPadded) {
    link.defaultRequest = 0;  // the records not scripted: nothing received
    latin();
    link.replyTo("B00", "00Ab");
    EXPECT_TRUE(ricevi_rep(ctx));
    EXPECT_EQ(state.DepartmentTable[1].description, "Ab          ");
    EXPECT_EQ(state.DepartmentTable[1].maxPrice, "");
}

TEST_F(ReceiveLoop, NotDeliveredIsRetriedThenStored) {
    link.defaultRequest = 0;  // the records not scripted: nothing received
    latin();
    link.expect("get_frame", "B00", -4).expect("get_frame", "B00", -5);
    link.replyTo("B00", Reply("00", "Ok          ", "00000001", "0", "0"));
    dialogs.answer(Answer::Retry).answer(Answer::Retry);

    EXPECT_TRUE(ricevi_rep(ctx));

    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, " Odeljenje 1 nije primljeno iz kase!\n");
    EXPECT_EQ(dialogs.boxes[0].title, "Arvon Cash Registers");
    EXPECT_EQ(dialogs.boxes[0].buttons, Buttons::RetryCancel);
    EXPECT_EQ(state.DepartmentTable[1].description, "Ok          ");
}

TEST_F(ReceiveLoop, CancelEndsWithFalseKeepingWhatCame) {
    latin();
    link.replyTo("B00", Reply("00", "First       ", "00000001", "0", "0"));
    link.expect("get_frame", "B01", -4);
    dialogs.answer(Answer::Cancel);

    EXPECT_FALSE(ricevi_rep(ctx));

    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{" Odeljenje 2 nije primljeno iz kase!\n"});
    EXPECT_EQ(state.DepartmentTable[1].description, "First       ");
    EXPECT_EQ(link.count("get_frame"), 2);
}

TEST_F(ReceiveLoop, MinusOneEndsSilently) {
    latin();
    link.replyTo("B00", Reply("00", "First       ", "00000001", "0", "0"));
    link.expect("get_frame", "B01", -1);

    EXPECT_FALSE(ricevi_rep(ctx));

    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(link.count("get_frame"), 2);
    EXPECT_EQ(progress.counter(), "1");
}

TEST_F(ReceiveLoop, NothingReceivedLeavesTheRecordAndTheCounter) {
    latin();
    state.DepartmentTable[2].maxPrice = "00000777";
    state.DepartmentTable[3].salesValue = "55";
    link.replyTo("B00", Reply("00", "First       ", "00000001", "0", "0"));
    link.expect("get_frame", "B01", 0);
    link.expect("get_frame", "B02", -3);
    link.expect("get_frame", "B03", -2);
    for (int n = 4; n <= 8; ++n) {
        link.replyTo("B0" + std::to_string(n),
                     Reply("0" + std::to_string(n), "X           ", "00000000", "0", "0"));
    }
    link.expect("get_frame", "B09", 0);
    std::vector<std::string> counters;
    progress.changed = [&] { counters.push_back(progress.counter()); };

    EXPECT_TRUE(ricevi_rep(ctx));

    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(state.DepartmentTable[2].description, "Odeqewe  2");
    EXPECT_EQ(state.DepartmentTable[2].maxPrice, "00000777");
    EXPECT_EQ(state.DepartmentTable[3].salesValue, "55");
    EXPECT_EQ(state.DepartmentTable[4].description, "Odeqewe  4");
    EXPECT_EQ(counters, (std::vector<std::string>{"1", "5", "6", "7", "8", "9"}));
}

TEST_F(ReceiveLoop, RegisterTextMarksTheTableAndTurnsItIntoFontText) {
    link.defaultRequest = 0;  // the records not scripted: nothing received
    state.CyrillicMode = true;
    state.CyrillicLanguage = true;
    state.DepartmentTable[10].description = Reg({193, 226});  // not received, converted too
    link.replyTo("B00", Reply("00", Reg({191, 184, 171, 181}) + "        ", "00000001", "0", "0"));
    link.replyTo("B01", Reply("01", "Latin       ", "00000001", "0", "0"));

    EXPECT_TRUE(ricevi_rep(ctx));

    EXPECT_TRUE(state.tableCyrillic(CyrTable::Departments));
    EXPECT_EQ(state.DepartmentTable[1].description, "PI]E        ");
    EXPECT_EQ(state.DepartmentTable[2].description, "Latin       ");
    EXPECT_EQ(state.DepartmentTable[10].description, "St");
}

TEST_F(ReceiveLoop, BlankOnlyDescriptionSetsTheFlag) {
    state.DepartmentTable[10].description = Reg({176});
    link.replyTo("B00", Reply("00", "            ", "00000001", "0", "0"));
    for (int n = 1; n <= 9; ++n) {
        link.replyTo("B0" + std::to_string(n),
                     Reply("0" + std::to_string(n), "Name        ", "00000000", "0", "0"));
    }
    EXPECT_TRUE(ricevi_rep(ctx));
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Departments));
    EXPECT_EQ(state.DepartmentTable[1].description, "            ");
    EXPECT_EQ(state.DepartmentTable[10].description, "Name        ");
}

TEST_F(ReceiveLoop, LatinRunClearsTheFlagAndConvertsNothing) {
    state.tableCyrillic(CyrTable::Departments) = true;
    state.DepartmentTable[10].description = Reg({176});
    link.replyTo("B00", Reply("00", "Latin       ", "00000001", "0", "0"));
    link.expect("get_frame", "B01", -1);
    EXPECT_FALSE(ricevi_rep(ctx));
    EXPECT_FALSE(state.tableCyrillic(CyrTable::Departments));
    EXPECT_EQ(state.DepartmentTable[10].description, Reg({176}));
}

TEST_F(ReceiveLoop, ModemModeRequestsWithTheModemOperation) {
    state.ModemMode = true;
    link.expect("get_frameM", "B00", -1);
    EXPECT_FALSE(ricevi_rep(ctx));
}

}  // namespace
}  // namespace qov::test
