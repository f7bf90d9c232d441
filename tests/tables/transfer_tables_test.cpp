#include "app/run_error.h"
#include "table_fixture.h"
#include "tables/departments.h"
#include "tables/display_message.h"
#include "tables/transfer_run.h"

namespace qov::test {
namespace {

using tables::invia_rep;
using tables::Posalji_Msg;
using tables::ricevi_rep;
constexpr auto kNone = tables::TransferMark::None, kOk = tables::TransferMark::Success,
               kFailed = tables::TransferMark::Failure;

// One department sent alone: its frame "R" and the description written back into the table.
struct FrameCase {
    const char* name;
    bool cyrillicMode, cyrillicLanguage;
    int number;
    std::string description, maxPrice, frame, stored;
    friend void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }
};

class DepartmentFrame : public TableFixture, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(DepartmentFrame, IsSentWithTheDescriptionWrittenBack) {
    const FrameCase& c = GetParam();
    state.CyrillicMode = c.cyrillicMode;
    state.CyrillicLanguage = c.cyrillicLanguage;
    state.DepartmentTable = {};
    state.DepartmentTable[c.number] = {c.description, c.maxPrice, "0", "0", "", ""};
    invia_rep(ctx);
    EXPECT_EQ(link.textsOf("send_frame"), std::vector<std::string>{c.frame});
    EXPECT_EQ(state.DepartmentTable[c.number].description, c.stored);
}

const FrameCase kFrames[] = {
    {"Latin", false, false, 3, "PICE", "250", "R02PICE        00000250", "PICE        "},
    {"EmptyPriceIsEightZeros", false, false, 1, "Hleb", "", "R00Hleb        00000000",
     "Hleb        "},
    {"ThirteenCharactersCutToTwelveInTheFrameOnly", false, false, 4, "ABCDEFGHIJKLM", "1",
     "R03ABCDEFGHIJKL00000001", "ABCDEFGHIJKLM"},
    {"CyrillicFontTextGoesAsRegisterCode", true, true, 5, "PI]E", "99",
     "R04" + Reg({191, 184, 171, 181}) + "        00000099", "PI]E        "},
    {"CyrillicModePacksDigraphs", true, true, 6, "Njiva lj", "7",
     "R05" + Reg({170, 216, 210, 208, 32, 249}) + "      00000007", "Wiva q      "},
};

INSTANTIATE_TEST_SUITE_P(Departments, DepartmentFrame, ::testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

using TransferTables = TableFixture;

// Frame "k": each line padded to 32 whatever the line width, never cut; afterwards the panel
// shows the lines in the script form of the mode.
TEST_F(TransferTables, MessageFrame) {
    auto send = [&](bool cyrillicMode, bool cyrillicLanguage, const tables::MessageLines& lines) {
        state.CyrillicMode = cyrillicMode;
        state.CyrillicLanguage = cyrillicLanguage;
        message = lines;
        EXPECT_TRUE(Posalji_Msg(ctx));
        return link.textsOf("send_frame").back() + "|" + message[0];
    };
    auto pad = [](const std::string& line) { return line + std::string(32 - line.size(), ' '); };
    const std::string last(40, '1');
    EXPECT_EQ(send(false, false, {"", "", ""}), "k" + std::string(96, ' ') + "|");
    EXPECT_EQ(send(true, true, {"Njiva", "", last}),
              "k" + pad(Reg({170, 216, 210, 208})) + pad("") + last + "|Wiva");
    EXPECT_EQ(send(true, false, {"Ljubav", "", ""}),
              "k" + pad("Qubav") + pad("") + pad("") + "|Qubav");
}

// The transmit loop over departments 1, 3, 5, 7, 9 (the others blank and skipped) or the
// message: the answers to the sends (0 after them) and to the boxes, and how it ends.
TEST_F(TransferTables, TransmitLoopRefusalBrokenLinkAndOtherResults) {
    auto send = [&](bool (*run)(tables::TransferContext&), std::vector<int> results,
                    std::deque<Answer> answers) {
        link.calls.clear();
        dialogs.clear();
        progress.clear();
        for (int n = 1; n <= 10; ++n) {
            state.DepartmentTable[n].description = n % 2 == 0 ? "   " : "D" + std::to_string(n);
        }
        for (int result : results) {
            link.then(result);
        }
        dialogs.answers = answers;
        const bool ok = run(ctx);
        return std::string(ok ? "ok" : "failed") + " after " +
               std::to_string(link.count("send_frame")) + " sends, counter " + progress.counter();
    };
    const std::string title = "Arvon Cash Registers: ", retry = "\n [Retry/Cancel]";
    const std::string no0 = title + "Odeljenje 00 nije primljeno u kasu!" + retry;
    const std::string noMsg = title + " Poruka nije primljena u kasu!" + retry;
    const Answer R = Answer::Retry, C = Answer::Cancel;
    EXPECT_EQ(send(invia_rep, {1, 1}, {R, R}), "ok after 7 sends, counter 10");
    EXPECT_EQ(shown(), (std::vector{no0, no0}));
    EXPECT_EQ(send(invia_rep, {0, 1}, {C}), "failed after 2 sends, counter 2");
    EXPECT_EQ(shown(), std::vector{title + "Odeljenje 02 nije primljeno u kasu!" + retry});
    EXPECT_EQ(send(invia_rep, {2}, {}), "failed after 1 sends, counter ");
    EXPECT_EQ(shown(), std::vector<std::string>{
                           "Arvon CAsh Registers: Komunikacija je prekinuta! <exclamation>"});
    EXPECT_EQ(send(invia_rep, {3, -1, 7}, {}), "ok after 5 sends, counter 10");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(send(Posalji_Msg, {1, 1}, {R, C}), "failed after 2 sends, counter 0");
    EXPECT_EQ(shown(), (std::vector{noMsg, noMsg}));
    EXPECT_EQ(state.DepartmentTable[2].description, "   ");  // skipped: not padded
}

// Replies, nothing received (the record and the counter stay), not delivered (Retry, then
// Cancel, which ends the table).
TEST_F(TransferTables, ReceiveStoresRepliesAndLeavesRecordsWithoutOne) {
    auto& t = state.DepartmentTable;
    t[7].maxPrice = "00000777";
    t[8].salesValue = "55";
    link.replyTo("B00", "00Hleb        0000025000000012345000001500")
        .replyTo("B01", std::string("01Mleko\0zzzzzz", 14) + "00000100")
        .replyTo("B02", "05Sest        00000006")  // the reply's number selects department 6
        .replyTo("B03", " 3Cetiri")                // a blank before the number: department 4
        .replyTo("B04", "04Ab")                    // short: padded, the rest empty
        .replyTo("B05", "09Deset")
        .expect("get_frame", "B06", 0)
        .expect("get_frame", "B07", -3)
        .expect("get_frame", "B08", -4)
        .expect("get_frame", "B08", -5)
        .replyTo("B08", "08Ok          00000001")
        .expect("get_frame", "B09", -4);
    dialogs.answers = {Answer::Retry, Answer::Retry, Answer::Cancel};
    std::vector<std::string> counters;
    progress.changed = [&] {  // the counter as it moves (the bar moves too)
        if (!progress.counter().empty() &&
            (counters.empty() || counters.back() != progress.counter())) {
            counters.push_back(progress.counter());
        }
    };

    EXPECT_FALSE(ricevi_rep(ctx));

    EXPECT_EQ(t[1].description + t[1].maxPrice + t[1].salesValue + t[1].quantitySold,
              "Hleb        0000025000000012345000001500");
    EXPECT_EQ(t[2].description + t[2].maxPrice, "Mleko       00000100");
    EXPECT_EQ(
        t[3].description + "|" + t[4].description + "|" + t[5].description + "|" + t[5].maxPrice,
        "Odeqewe  3|Cetiri      |Ab          |");
    EXPECT_EQ(t[6].description + t[6].maxPrice, "Sest        00000006");
    EXPECT_EQ(t[7].description + t[7].maxPrice + t[8].salesValue, "Odeqewe  70000077755");
    EXPECT_EQ(t[9].description + "|" + t[10].description, "Ok          |Deset       ");
    EXPECT_EQ(counters, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "9"}));
    const std::string title = "Arvon Cash Registers:  Odeljenje ", retry = "\n [Retry/Cancel]";
    const std::string no9 = title + "9 nije primljeno iz kase!" + retry;
    EXPECT_EQ(shown(), (std::vector{no9, no9, title + "10 nije primljeno iz kase!" + retry}));
}

TEST_F(TransferTables, ReceiveEndsWithoutAWordOnMinusOne) {
    EXPECT_FALSE(ricevi_rep(ctx));  // the link's first answer is -1
    EXPECT_EQ(link.count("get_frame"), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

// The Cyrillic flag: cleared at the start, set by a description without a Latin letter; when
// set, every description, received or not, turns into font text at the end.
TEST_F(TransferTables, ReceivedDescriptionsWithoutLatinLettersMarkTheTable) {
    link.defaultRequest = 0;
    auto receive = [&](bool flagBefore, const std::string& description) {
        state.tableCyrillic(CyrTable::Departments) = flagBefore;
        state.DepartmentTable[10].description = Reg({193, 226});
        link.replyTo("B00", "00" + description + "00000001");
        EXPECT_TRUE(ricevi_rep(ctx));
        return std::to_string(state.tableCyrillic(CyrTable::Departments)) + "|" +
               state.DepartmentTable[1].description + "|" + state.DepartmentTable[10].description;
    };
    EXPECT_EQ(receive(true, "Latin       "), "0|Latin       |" + Reg({193, 226}));
    EXPECT_EQ(receive(false, Reg({191, 184, 171, 181}) + "        "), "1|PI]E        |St");
    EXPECT_EQ(receive(false, std::string(12, ' ')), "1|            |St");
}

TEST_F(TransferTables, RunsTheSelectedEntriesInListOrderAndMarksEach) {
    std::string ran;
    auto procedure = [&ran](tables::TransferContext& c) {
        ran += c.progress.caption();
        return c.progress.caption() != "B:";
    };
    tables::TransferRun run(station, tables::TransferDirection::Receive,
                            {{"a", "A", "A:", procedure},
                             {"b", "B", "B:", procedure},
                             {"c", "C", "C:", [](auto&) -> bool { throw RunError(5, "boom"); }},
                             {"d", "D", "D:", procedure},
                             {"e", "E", "E:", {}}});  // no procedure yet: nothing runs, it fails
    for (int pos : {4, 3, 2, 1, 0}) {
        run.setSelected(pos, true);
    }
    EXPECT_FALSE(run.invia());
    EXPECT_EQ(ran, "A:B:D:");
    EXPECT_EQ((std::vector{run.mark(0), run.mark(1), run.mark(2), run.mark(3), run.mark(4)}),
              (std::vector{kOk, kFailed, kFailed, kOk, kFailed}));
    EXPECT_EQ(dialogs.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(link.count("Testconnessione"), 1);
}

TEST_F(TransferTables, CancelInOneTableAndTheRunGoesOn) {
    tables::TransferRun run(station, tables::TransferDirection::Transmit);
    for (int pos : {0, 1, 10}) {  // departments, articles (no procedure yet), message
        run.setSelected(pos, true);
    }
    link.expect("Testconnessione", "", 0)
        .expect("send_frame", "R00Odeljenje  100000000", 1)
        .expect("send_frame", "k" + std::string(96, ' '), 0);
    dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(run.invia());
    EXPECT_EQ((std::vector{run.mark(0), run.mark(1), run.mark(2), run.mark(10)}),
              (std::vector{kFailed, kFailed, kNone, kOk}));
    EXPECT_EQ(run.progress().caption() + std::to_string(link.count("send_frame")), "Poruka:2");
}

}  // namespace
}  // namespace qov::test
