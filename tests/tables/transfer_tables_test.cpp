#include <ostream>

#include "table_fixture.h"
#include "tables/departments.h"
#include "tables/display_message.h"

namespace qov::test {
namespace {

using tables::invia_rep;
using tables::Posalji_Msg;
using tables::ricevi_rep;

// One department sent alone: its frame "R" and the description written back into the table.
struct FrameCase {
    const char* name;
    bool cyrillicMode, cyrillicLanguage;
    int number;
    std::string description, maxPrice, frame, stored;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.name;
}

class DepartmentFrame : public TableFixture, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(DepartmentFrame, IsSentWithTheDescriptionWrittenBack) {
    const FrameCase& c = GetParam();
    modes(c.cyrillicMode, c.cyrillicLanguage);
    state.DepartmentTable = {};
    state.DepartmentTable[c.number].description = c.description;
    state.DepartmentTable[c.number].maxPrice = c.maxPrice;
    EXPECT_TRUE(invia_rep(ctx));
    EXPECT_EQ(link.textsOf("send_frame"), std::vector<std::string>{c.frame});
    EXPECT_EQ(state.DepartmentTable[c.number].description, c.stored);
}

const FrameCase kFrames[] = {
    {"Latin", false, false, 3, "PICE", "250", "R02PICE        00000250", "PICE        "},
    {"EmptyPriceIsEightZeros", false, false, 1, "Hleb", "", "R00Hleb        00000000",
     "Hleb        "},
    {"BlankPriceIsEightZeros", false, false, 10, "Mleko", "        ", "R09Mleko       00000000",
     "Mleko       "},
    {"ThirteenCharactersCutToTwelveInTheFrameOnly", false, false, 4, "ABCDEFGHIJKLM", "1",
     "R03ABCDEFGHIJKL00000001", "ABCDEFGHIJKLM"},
    {"CyrillicFontTextGoesAsRegisterCode", true, true, 5, "PI]E", "99",
     "R04" + Reg({191, 184, 171, 181}) + "        00000099", "PI]E        "},
    {"CyrillicModePacksDigraphs", true, true, 6, "Njiva lj", "7",
     "R05" + Reg({170, 216, 210, 208, 32, 249}) + "      00000007", "Wiva q      "},
    {"LatinModeUnpacksFontText", false, false, 7, "Wiva", "0", "R06Njiva       00000000",
     "Njiva       "},
    {"CyrillicModeLatinLanguageSendsFontText", true, false, 8, "Lj", "5", "R07Q           00000005",
     "Q           "},
};

INSTANTIATE_TEST_SUITE_P(Departments, DepartmentFrame, ::testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

using TransferTables = TableFixture;

// Frame "k": each line padded to 32 whatever the line width, never cut; afterwards the panel
// shows the lines in the script form of the mode.
TEST_F(TransferTables, MessageFrame) {
    auto pad = [](const std::string& line) { return line + std::string(32 - line.size(), ' '); };
    const std::string last(40, 'a'), nj = Reg({170, 216, 210, 208});
    const struct {
        bool cyrillicMode, cyrillicLanguage;
        tables::MessageLines lines;
        std::string firstAfter, frame;
    } cases[] = {
        {false, false, {"", "", ""}, "", "k" + std::string(96, ' ')},
        {false, false, {"HVALA", "abc", last}, "HVALA", "k" + pad("HVALA") + pad("abc") + last},
        {true, true, {"Njiva", "", "1"}, "Wiva", "k" + pad(nj) + pad("") + pad("1")},
        {true, false, {"Ljubav", "", ""}, "Qubav", "k" + pad("Qubav") + pad("") + pad("")},
    };
    for (const auto& c : cases) {
        link.calls.clear();
        modes(c.cyrillicMode, c.cyrillicLanguage);
        message = c.lines;
        EXPECT_TRUE(Posalji_Msg(ctx));
        EXPECT_EQ(link.textsOf("send_frame"), std::vector<std::string>{c.frame});
        EXPECT_EQ(message[0], c.firstAfter);
    }
    tables::TransferContext noPanel{station, progress, nullptr};
    EXPECT_FALSE(Posalji_Msg(noPanel));
    EXPECT_EQ(link.calls.size(), 1u);
}

// The transmit loop over departments 1, 3, 5, 7, 9 (the others blank and skipped) or the
// message: the answers to the sends (0 after them), the answers to the boxes, the outcome.
TEST_F(TransferTables, TransmitLoopRefusalBrokenLinkAndOtherResults) {
    const std::string title = "Arvon Cash Registers: ", retry = "\n [Retry/Cancel]";
    const std::string no0 = title + "Odeljenje 00 nije primljeno u kasu!" + retry;
    const std::string no2 = title + "Odeljenje 02 nije primljeno u kasu!" + retry;
    const std::string noMsg = title + " Poruka nije primljena u kasu!" + retry;
    const std::string broken = "Arvon CAsh Registers: Komunikacija je prekinuta! <exclamation>";
    const Answer R = Answer::Retry, C = Answer::Cancel;
    const struct {
        bool (*run)(tables::TransferContext&);
        std::vector<int> results;
        std::vector<Answer> answers;
        bool ok;
        std::vector<std::string> boxes;
        int sends;
        std::string counter;
    } cases[] = {
        {invia_rep, {1, 1}, {R, R}, true, {no0, no0}, 7, "10"},
        {invia_rep, {0, 1}, {C}, false, {no2}, 2, "2"},
        {invia_rep, {2}, {}, false, {broken}, 1, ""},
        {invia_rep, {3, -1, 7}, {}, true, {}, 5, "10"},
        {Posalji_Msg, {1, 1}, {R, C}, false, {noMsg, noMsg}, 2, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        link.calls.clear();
        dialogs.clear();
        progress.clear();
        for (int n = 1; n <= 10; ++n) {
            state.DepartmentTable[n].description = n % 2 == 0 ? "   " : "D" + std::to_string(n);
        }
        for (int result : c.results) {
            link.then(result);
        }
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(c.run(ctx), c.ok);
        EXPECT_EQ(shown(), c.boxes);
        EXPECT_EQ(link.count("send_frame"), c.sends);
        EXPECT_EQ(progress.counter(), c.counter);
        EXPECT_EQ(state.DepartmentTable[2].description, "   ");  // skipped: not padded
    }
}

TEST_F(TransferTables, ReceiveStoresRepliesAndLeavesRecordsWithoutOne) {
    auto& t = state.DepartmentTable;
    t[7].maxPrice = "00000777";
    t[8].salesValue = "55";
    link.replyTo("B00", "00Hleb        0000025000000012345000001500")
        .replyTo("B01", std::string("01Mleko\0zzzzzz", 14) + "00000100")
        .replyTo("B02", "05Pet         00000005")  // the reply's number selects department 6
        .replyTo("B03", "x")                       // names no department
        .replyTo("B04", "12")                      // department 13 does not exist
        .replyTo("B05", "04Ab")                    // short: padded, the rest empty
        .expect("get_frame", "B06", 0)
        .expect("get_frame", "B07", -2)
        .expect("get_frame", "B08", -3)
        .expect("get_frame", "B09", -4)
        .expect("get_frame", "B09", -5)
        .replyTo("B09", "09Ok          00000001");
    dialogs.answers = {Answer::Retry, Answer::Retry};
    std::vector<std::string> counters;
    progress.changed = [&] { counters.push_back(progress.counter()); };

    EXPECT_TRUE(ricevi_rep(ctx));

    EXPECT_EQ(t[1].description + t[1].maxPrice + t[1].salesValue + t[1].quantitySold,
              "Hleb        0000025000000012345000001500");
    EXPECT_EQ(t[2].description + t[2].maxPrice, "Mleko       00000100");
    EXPECT_EQ(t[3].description + "|" + t[5].description + "|" + t[5].maxPrice,
              "Odeqewe  3|Ab          |");
    EXPECT_EQ(t[6].description + t[6].maxPrice, "Pet         00000005");
    EXPECT_EQ(t[7].description + t[7].maxPrice + t[8].salesValue, "Odeqewe  70000077755");
    EXPECT_EQ(t[10].description, "Ok          ");
    EXPECT_EQ(counters, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "10"}));
    const std::string box =
        "Arvon Cash Registers:  Odeljenje 10 nije primljeno iz kase!\n [Retry/Cancel]";
    EXPECT_EQ(shown(), (std::vector<std::string>{box, box}));
}

TEST_F(TransferTables, ReceiveCancelOrMinusOneEndsTheTableKeepingWhatCame) {
    const std::vector<std::string> cancelled = {
        "Arvon Cash Registers:  Odeljenje 2 nije primljeno iz kase!\n [Retry/Cancel]"};
    for (int result : {-4, -1}) {  // -1 ends silently
        dialogs.clear();
        state.DepartmentTable[1].description.clear();
        link.replyTo("B00", "00First       00000001").expect("get_frame", "B01", result);
        dialogs.answers = {Answer::Cancel};
        EXPECT_FALSE(ricevi_rep(ctx));
        EXPECT_EQ(shown(), result == -4 ? cancelled : std::vector<std::string>{});
        EXPECT_EQ(state.DepartmentTable[1].description + progress.counter(), "First       1");
    }
    EXPECT_EQ(link.count("get_frame"), 4);
}

// The Cyrillic flag: cleared at the start, set by a description without a Latin letter; when
// set, every description, received or not, turns into font text at the end.
TEST_F(TransferTables, ReceivedDescriptionsWithoutLatinLettersMarkTheTable) {
    const struct {
        bool flagBefore;
        std::string received;
        bool flag;
        std::string first, tenth;
    } cases[] = {
        {true, "Latin       ", false, "Latin       ", Reg({193, 226})},
        {false, Reg({191, 184, 171, 181}) + "        ", true, "PI]E        ", "St"},
        {false, std::string(12, ' '), true, std::string(12, ' '), "St"},
    };
    link.defaultRequest = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        state.tableCyrillic(CyrTable::Departments) = c.flagBefore;
        state.DepartmentTable[10].description = Reg({193, 226});
        link.replyTo("B00", "00" + c.received + "00000001");
        EXPECT_TRUE(ricevi_rep(ctx));
        EXPECT_EQ(state.tableCyrillic(CyrTable::Departments), c.flag);
        EXPECT_EQ(state.DepartmentTable[1].description, c.first);
        EXPECT_EQ(state.DepartmentTable[10].description, c.tenth);
    }
}

}  // namespace
}  // namespace qov::test
