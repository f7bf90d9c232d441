// The "Komunikacija" screen: saving the line set-up, dialling, hanging up, the link test and
// the remote keyboard's speed follow-up.

#include <gtest/gtest.h>

#include "link/comline.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "ui/temp_database.h"

namespace qov {
namespace {

using test::ScriptedLink;

constexpr const char* kPortRows = "select * from port";

class ComLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        connection = test::MakeTempDatabase();
        state.ConnectionString = connection;
        state.ToneDialCommand = "ATDT";
        state.PulseDialCommand = "ATDP";
        state.DialCommand = "ATDP";
        state.HangupCommand = "ATH";
    }

    std::vector<std::string> portRows() {
        return db.rows(connection, kPortRows, {"Port", "Qov", "tone", "phonenm"});
    }

    // A read that returns `text`.
    void read(const std::string& text) { link.expect("read_data", "", 0, text); }

    ComLine& screen() {
        if (!comline) {
            comline = std::make_unique<ComLine>(station);
            comline->pause = [this](int ms) { pauses.push_back(ms); };
        }
        return *comline;
    }

    std::string connection;
    SharedState state;
    test::ScriptedDialogs dialogs;
    ScriptedLink link;
    LinkCalls calls{state, link};
    test::RecordingDatabase db;
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, db, store};
    std::unique_ptr<ComLine> comline;
    std::vector<int> pauses;
};

TEST_F(ComLineTest, OpeningNamesTheScreenAndShowsTheLineSetUp) {
    state.PortNumber = 3;
    state.BaudRate = 38400;
    state.DialCommand = "ATDT";
    state.PhoneNumber = "0113334444";
    state.LinePassword = "tajna";
    screen().open();
    EXPECT_EQ(state.CurrentForm, "frmcomline");
    EXPECT_EQ(screen().portIndex, 2);
    EXPECT_EQ(screen().speedIndex, 3);
    EXPECT_TRUE(screen().tone);
    EXPECT_EQ(screen().phoneNumber, "0113334444");
    EXPECT_EQ(screen().password, "tajna");
}

TEST_F(ComLineTest, RefreshKeepsTheSpeedForASpeedNotInTheListAndUnchecksUnknownDialCommands) {
    screen().speedIndex = 4;
    screen().tone = true;
    state.BaudRate = 2400;
    state.DialCommand = "ATX";
    screen().RefreshLineScreen();
    EXPECT_EQ(screen().speedIndex, 4);
    EXPECT_FALSE(screen().tone);
    state.DialCommand = "ATDP";
    screen().RefreshLineScreen();
    EXPECT_FALSE(screen().tone);
}

TEST_F(ComLineTest, ToneChoosesTheDialCommand) {
    screen().onToneClicked(true);
    EXPECT_EQ(state.DialCommand, "ATDT");
    screen().onToneClicked(false);
    EXPECT_EQ(state.DialCommand, "ATDP");
}

TEST_F(ComLineTest, AnnullaClearsTheCurrentFormToOneBlankAndAsksToClose) {
    screen().open();
    screen().onToolbar("Annulla");
    EXPECT_EQ(state.CurrentForm, " ");
    EXPECT_TRUE(screen().closeRequested());
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(ComLineTest, SalvaWithEmptyPhoneAndPasswordStoresThreeBlanks) {
    state.ModemMode = true;
    screen().portIndex = 2;
    screen().speedIndex = 2;
    link.expect("Init_RS232bd", "3", 0);
    screen().onToolbar("Salva");

    EXPECT_EQ(state.LinePassword, "   ");
    EXPECT_EQ(state.PhoneNumber, "   ");
    EXPECT_EQ(state.PortNumber, 3);
    EXPECT_EQ(state.BaudRate, 19200);
    EXPECT_FALSE(state.ModemMode);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Komunikacioni port je odabran.");
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
    EXPECT_EQ(db.statements,
              (std::vector<std::string>{
                  "delete * from port;",
                  "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (3, '19200', 'ATDP', "
                  "'   ');"}));
    EXPECT_EQ(portRows(), (std::vector<std::string>{"3|19200|ATDP|   "}));
    // The line is closed twice before it is opened at the new speed.
    ASSERT_EQ(link.calls.size(), 3u);
    EXPECT_EQ(link.calls[0].op, "Close_RS232");
    EXPECT_EQ(link.calls[1].op, "Close_RS232");
    EXPECT_EQ(link.calls[2].arg, 19200);
}

TEST_F(ComLineTest, SalvaRewritesTheSingleRowAndDoublesQuotes) {
    screen().portIndex = 0;
    screen().speedIndex = 1;
    screen().phoneNumber = "011'22";
    screen().password = "x";
    link.defaultInit = 0;
    screen().onToolbar("Salva");
    screen().portIndex = 7;
    screen().onToolbar("Salva");
    EXPECT_EQ(db.statements.back(),
              "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (8, '9600', 'ATDP', "
              "'011''22');");
    EXPECT_EQ(portRows(), (std::vector<std::string>{"8|9600|ATDP|011'22"}));
    EXPECT_EQ(state.LinePassword, "x");
}

TEST_F(ComLineTest, SalvaReportsABusyOrWrongPortAndStoresNothing) {
    struct Case {
        int result;
        std::vector<std::string> texts;
    };
    for (const Case& c :
         {Case{1, {"Port je zauzet !"}}, Case{2, {"Port nije dobro podesen ! "}}, Case{7, {}}}) {
        SCOPED_TRACE(c.result);
        dialogs.boxes.clear();
        db.statements.clear();
        state.ModemMode = true;
        link.expect("Init_RS232bd", "1", c.result);
        screen().portIndex = 0;
        screen().onToolbar("Salva");
        EXPECT_EQ(dialogs.texts(), c.texts);
        EXPECT_TRUE(db.statements.empty());
        EXPECT_TRUE(state.ModemMode);
    }
    EXPECT_TRUE(portRows().empty());
}

TEST_F(ComLineTest, SalvaWithAnUnreachableDatabaseReportsTheDatabaseText) {
    state.ConnectionString = "Driver=SQLite;Database=/nonexistent/folder/QovCom.db";
    screen().portIndex = 0;
    screen().onToolbar("Salva");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Komunikacioni port je odabran.");
    EXPECT_EQ(dialogs.boxes[1].text,
              "Baza trenutno nije dostupna.\nMolimo Vas, proverite globalne parametre za "
              "pristup podacima.");
    EXPECT_EQ(dialogs.boxes[1].title,
              "Arvon Cash Registers(Sender:='frmComLine.Toolbar1_ButtonClick()')");
}

TEST_F(ComLineTest, ConnectWithoutAPhoneNumberAsksForIt) {
    screen().onToolbar("Connect");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Unesite telefonski broj !");
    EXPECT_EQ(dialogs.last().title, "Arvon Cash registers");
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(ComLineTest, ConnectReportsThePortAndDialsNothingWhenItCannotOpen) {
    struct Case {
        int result;
        std::vector<std::string> texts;
    };
    for (const Case& c :
         {Case{1, {"Port je zauzet !"}}, Case{2, {"Port nije dobro podesen ! "}}, Case{-3, {}}}) {
        SCOPED_TRACE(c.result);
        dialogs.boxes.clear();
        link.calls.clear();
        screen().phoneNumber = "123";
        link.expect("Init_RS232", "1", c.result);
        screen().onToolbar("Connect");
        EXPECT_EQ(dialogs.texts(), c.texts);
        EXPECT_EQ(link.count("send_data"), 0);
    }
    EXPECT_TRUE(db.statements.empty());
}

// One dial outcome: what the modem answers read by read, and what the user answers.
struct DialCase {
    const char* name;
    std::vector<std::string> reads;
    std::vector<Answer> answers;
    std::vector<std::string> texts;  // boxes shown
    bool modemMode;
    int dials;
};

class ComLineDialTest : public ComLineTest, public ::testing::WithParamInterface<DialCase> {};

TEST_P(ComLineDialTest, AnswersOfTheModem) {
    const DialCase& c = GetParam();
    screen().portIndex = 1;
    screen().speedIndex = 1;
    screen().tone = true;
    state.DialCommand = "ATDT";
    screen().phoneNumber = "0113334444";
    screen().password = "lozinka";
    for (Answer a : c.answers) {
        dialogs.answer(a);
    }
    link.expect("Init_RS232", "2", 0);
    int dial = 0;
    for (const std::string& r : c.reads) {
        if (r == "<dial>") {
            link.expect("send_data", "ATDT0113334444\r\n", 16);
            ++dial;
        } else if (r == "<password>") {
            link.expect("send_data", "lozinka", 7);
        } else {
            read(r);
        }
    }
    screen().onToolbar("Connect");

    EXPECT_EQ(dialogs.texts(), c.texts);
    EXPECT_EQ(state.ModemMode, c.modemMode);
    EXPECT_EQ(link.count("send_data"), c.dials + (c.modemMode ? 1 : 0));
    EXPECT_EQ(dial, c.dials);
    EXPECT_TRUE(link.script.empty());
    EXPECT_EQ(pauses, std::vector<int>(static_cast<std::size_t>(c.dials - 1), 1000));
    for (const MessageBox& box : dialogs.boxes) {
        EXPECT_EQ(box.title, "Arvon Cash Registers");
        if (box.buttons == Buttons::RetryCancel) {
            EXPECT_EQ(box.text.back(), '\n');
        }
    }
    // The PORT row is stored before the first dial, without blank substitution.
    EXPECT_EQ(db.statements.back(),
              "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (2, '9600', 'ATDT', "
              "'0113334444');");
    EXPECT_EQ(state.LinePassword, "lozinka");
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ComLineDialTest,
    ::testing::Values(
        DialCase{"Connect",
                 {"<dial>", "\r\nCONNECT 9600\r\n", "<password>"},
                 {},
                 {"Komunikacija je ostvarena ! "},
                 true,
                 1},
        DialCase{
            "Busy", {"<dial>", "\r\nBUSY\r\n"}, {Answer::Cancel}, {"Broj je zauzet !\n"}, false, 1},
        DialCase{"NoCarrier",
                 {"<dial>", "\r\nNO CARRIER\r\n"},
                 {Answer::Cancel},
                 {"Linija je zauzeta !\n"},
                 false,
                 1},
        DialCase{"NoAnswer",
                 {"<dial>", "\r\nNO ANSWER\r\n"},
                 {Answer::Cancel},
                 {"Nema odgovora !\n"},
                 false,
                 1},
        DialCase{"NoDialtone",
                 {"<dial>", "\r\nNO DIALTONE\r\n"},
                 {Answer::Cancel},
                 {"Linija je prekinuta !\n"},
                 false,
                 1},
        DialCase{"RingThenConnect",
                 {"<dial>", "\r\nRING\r\n\r\n", "", "CONNECT 19200", "<password>"},
                 {},
                 {"Imate poziv ! ", "Komunikacija je ostvarena ! "},
                 true,
                 1},
        DialCase{"BusyRetryThenConnect",
                 {"<dial>", "\r\nBUSY\r\n", "<dial>", "xxCONNECT", "<password>"},
                 {Answer::Retry},
                 {"Broj je zauzet !\n", "Komunikacija je ostvarena ! "},
                 true,
                 2},
        // CONNECT is looked for first, whatever else the same read holds.
        DialCase{"ConnectBeforeBusy",
                 {"<dial>", "BUSY CONNECT", "<password>"},
                 {},
                 {"Komunikacija je ostvarena ! "},
                 true,
                 1},
        // An answer split across reads is never seen whole.
        DialCase{"SplitAnswer",
                 {"<dial>", "\r\n\r\nCONN", "ECT 9600\r\n"},
                 {},
                 {"Komunikacija nije ostvarena !"},
                 false,
                 1},
        // A read of fewer than 7 characters is skipped, also for the short answers.
        DialCase{"ShortReads",
                 {"<dial>", "BUSY\r\n", "RING\r\n", "OK\r\n"},
                 {},
                 {"Komunikacija nije ostvarena !"},
                 false,
                 1},
        DialCase{"Silence", {"<dial>"}, {}, {"Komunikacija nije ostvarena !"}, false, 1}),
    [](const ::testing::TestParamInfo<DialCase>& info) { return std::string(info.param.name); });

TEST_F(ComLineTest, DiallingReadsOneHundredFiftyTimesIntoTheDialCommand) {
    screen().phoneNumber = "1";
    state.DialCommand = "ATD";
    link.expect("Init_RS232", "1", 0);
    link.expect("send_data", "ATD1\r\n", 6);
    // The dial command is 6 characters long, so no read can hold 7: even CONNECT is missed.
    read("CONNECT");
    screen().onToolbar("Connect");
    EXPECT_EQ(link.count("read_data"), 150);
    for (const test::LinkCall& call : link.calls) {
        if (call.op == "read_data") {
            ASSERT_EQ(call.arg, 6);
        }
    }
    EXPECT_FALSE(state.ModemMode);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Komunikacija nije ostvarena !"}));
}

TEST_F(ComLineTest, DisconnectFindsOkAndLeavesModemMode) {
    state.ModemMode = true;
    link.expect("send_data", "ATH\r\n", 5);
    read("");
    read("\r\nOK\r\n");
    screen().onToolbar("Disconnect");
    EXPECT_FALSE(state.ModemMode);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Komunikacija je prekinuta ! "}));
    EXPECT_EQ(link.count("read_data"), 2);
}

TEST_F(ComLineTest, DisconnectNeedsOnlyTwoCharacters) {
    state.ModemMode = true;
    link.expect("send_data", "ATH\r\n", 5);
    read("OK");
    screen().onToolbar("Disconnect");
    EXPECT_FALSE(state.ModemMode);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Komunikacija je prekinuta ! "}));
}

TEST_F(ComLineTest, DisconnectWithTheLineAlreadyDown) {
    state.ModemMode = false;
    link.expect("send_data", "ATH\r\n", 5);
    read("O");
    read("K\r\n");
    screen().onToolbar("Disconnect");
    EXPECT_EQ(link.count("read_data"), 100);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Komunikacija je vec bila prekinuta !"}));
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
}

TEST_F(ComLineTest, TestLinkUsesTheLineKindAndSpeaksOnlyWhenTheRegisterAnswers) {
    link.expect("Testconnessione", "", 0);
    TestLink(station);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Veza je u redu!");
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");

    state.ModemMode = true;
    link.expect("TestconnessioneM", "", 3);
    TestLink(station);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(link.script.empty());
}

TEST_F(ComLineTest, CheckForSpeedTakesTheRegistersSpeedIndex) {
    int index = 1;
    CheckForSpeed(station, "  5.8.11.1 3  ", index);
    EXPECT_EQ(index, 3);
    CheckForSpeed(station, "5.8.11.1 x", index);
    EXPECT_EQ(index, 3);
    CheckForSpeed(station, "5.8.11.1", index);
    EXPECT_EQ(index, 3);
    CheckForSpeed(station, "5.8.11.2 0", index);
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(db.statements.empty());
}

TEST_F(ComLineTest, CheckForSpeedReopensTheLineAndStoresTheRowQuoted) {
    state.PortNumber = 4;
    state.PhoneNumber = "555";
    int index = 3;
    link.expect("Init_RS232bd", "4", 0);
    CheckForSpeed(station, "5.8.11.4", index);
    EXPECT_EQ(state.BaudRate, 38400);
    EXPECT_EQ(link.calls.front().op, "Close_RS232");
    EXPECT_EQ(link.calls.back().arg, 38400);
    EXPECT_EQ(db.statements,
              (std::vector<std::string>{
                  "delete * from port;",
                  "INSERT INTO PORT (Port, Qov ,tone, phonenm) values ('4', '38400', 'ATDP', "
                  "'555');"}));
    EXPECT_EQ(portRows(), (std::vector<std::string>{"4|38400|ATDP|555"}));

    // A line that does not open stores nothing.
    db.statements.clear();
    link.expect("Init_RS232bd", "4", 1);
    CheckForSpeed(station, "5.8.11.4", index);
    EXPECT_TRUE(db.statements.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ComLineTest, CheckForSpeedReportsFailuresAsTheKeyboardScreen) {
    state.ConnectionString = "Driver=SQLite;Database=/nonexistent/folder/QovCom.db";
    int index = 0;
    CheckForSpeed(station, "5.8.11.4", index);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers(Sender:='frmKeyboard.CheckForSpeed()')");
}

TEST(ComLineSpeeds, SpeedIndexOfTheListedSpeeds) {
    EXPECT_EQ(SpeedIndexOf(4800), 0);
    EXPECT_EQ(SpeedIndexOf(57600), 4);
    EXPECT_EQ(SpeedIndexOf(115200), -1);
}

}  // namespace
}  // namespace qov
