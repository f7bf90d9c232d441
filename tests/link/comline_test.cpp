// The "Komunikacija" screen: saving the line set-up, dialling, hanging up, the link test and
// the remote keyboard's speed follow-up.
#include "link/comline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/run_error.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"

namespace qov {
namespace {

using Texts = std::vector<std::string>;
const std::string kConnected = "Komunikacija je ostvarena ! ";
const std::string kNotConnected = "Komunikacija nije ostvarena !";
const std::string kInsert = "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (";

// Records the statements; the connection "down" cannot be opened.
struct RecordingDatabase : Database {
    void open(const std::string& connection) override {
        if (connection == "down")
            throw RunError(RunError::kDatabaseUnavailable, "unreachable");
        opened = true;
    }
    void execute(const std::string& sql) override { statements.push_back(sql); }
    std::unique_ptr<RowSet> query(const std::string&) override { return nullptr; }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    bool opened = false;
    Texts statements;
};

// The screen with its station: fake dialogs, link and database.
struct Rig {
    Rig() {
        state.ConnectionString = "db";
        state.ToneDialCommand = "ATDT";
        state.PulseDialCommand = state.DialCommand = "ATDP";
        state.HangupCommand = "ATH";
        screen.pause = [this](int ms) { pauses.push_back(ms); };
    }
    // The boxes shown, each as "title: text".
    Texts shown() const {
        Texts out;
        for (const MessageBox& box : dialogs.boxes)
            out.push_back(box.title + ": " + box.text);
        return out;
    }

    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    RecordingDatabase db;
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, db, store};
    ComLine screen{station};
    std::vector<int> pauses;
};
class ComLineTest : public ::testing::Test, protected Rig {};

TEST_F(ComLineTest, ScreenShowsTheSetUpToneChoosesTheDialCommandAnnullaCloses) {
    state.PortNumber = 3;
    state.BaudRate = 38400;
    state.DialCommand = "ATDT";
    state.PhoneNumber = "0113334444";
    state.LinePassword = "tajna";
    screen.open();
    EXPECT_EQ(state.CurrentForm, "frmcomline");
    EXPECT_EQ(std::tie(screen.portIndex, screen.speedIndex, screen.tone, screen.phoneNumber,
                       screen.password),
              std::make_tuple(2, 3, true, "0113334444", "tajna"));
    screen.onToneClicked(false);
    EXPECT_EQ(state.DialCommand, "ATDP");
    screen.onToneClicked(true);
    EXPECT_EQ(state.DialCommand, "ATDT");
    screen.onToolbar("Annulla");
    EXPECT_EQ(state.CurrentForm, " ");
    EXPECT_TRUE(screen.closeRequested());
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(ComLineTest, SalvaStoresThePortRowWithThreeBlanksForAnEmptyPhoneAndPassword) {
    state.ModemMode = true;
    screen.portIndex = 2;
    screen.speedIndex = 2;
    link.expect("Init_RS232bd", "3", 0);
    screen.onToolbar("Salva");
    EXPECT_EQ(state.LinePassword + "|" + state.PhoneNumber, "   |   ");
    EXPECT_EQ(state.PortNumber, 3);
    EXPECT_EQ(state.BaudRate, 19200);
    EXPECT_FALSE(state.ModemMode);
    EXPECT_EQ(shown(), Texts{"Arvon Cash Registers: Komunikacioni port je odabran."});
    EXPECT_EQ(db.statements, (Texts{"delete * from port;",
                                    "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (3, "
                                    "'19200', 'ATDP', '   ');"}));
    EXPECT_EQ(link.count("Close_RS232"), 2);  // closed twice before it opens at the new speed
    EXPECT_EQ(link.calls.back().arg, 19200);
    screen.phoneNumber = "011'22";
    screen.password = "x";
    screen.onToolbar("Salva");
    EXPECT_EQ(db.statements.back(), kInsert + "3, '19200', 'ATDP', '011''22');");
    EXPECT_EQ(state.LinePassword, "x");
}

TEST_F(ComLineTest, SalvaAndConnectReportABusyOrWrongPortAndStoreAndDialNothing) {
    const std::pair<int, std::string> cases[] = {
        {1, "Port je zauzet !"}, {2, "Port nije dobro podesen ! "}, {-3, ""}};
    for (const auto& [result, text] : cases) {
        dialogs.boxes.clear();
        state.ModemMode = true;
        screen.phoneNumber = "123";
        link.expect("Init_RS232bd", "1", result).expect("Init_RS232", "1", result);
        screen.onToolbar("Salva");
        screen.onToolbar("Connect");
        EXPECT_EQ(dialogs.texts(), text.empty() ? Texts{} : Texts(2, text)) << result;
        EXPECT_TRUE(state.ModemMode);
    }
    EXPECT_EQ(link.count("send_data"), 0);
    EXPECT_TRUE(db.statements.empty());
}

TEST_F(ComLineTest, ErrorsAreReportedWithTheSender) {
    screen.onToolbar("Connect");  // no phone number
    state.ConnectionString = "down";
    screen.onToolbar("Salva");
    int index = 0;
    CheckForSpeed(station, "5.8.11.4", index);
    const std::string down =
        "Baza trenutno nije dostupna.\nMolimo Vas, proverite globalne "
        "parametre za pristup podacima.";
    EXPECT_EQ(shown(),
              (Texts{"Arvon Cash registers: Unesite telefonski broj !",
                     "Arvon Cash Registers: Komunikacioni port je odabran.",
                     "Arvon Cash Registers(Sender:='frmComLine.Toolbar1_ButtonClick()'): " + down,
                     "Arvon Cash Registers(Sender:='frmKeyboard.CheckForSpeed()'): " + down}));
}

// One dialling: what the reads return (after the first dial; "<dial>" where the user asked to
// dial again) and the boxes shown.
TEST(ComLineDial, AnswersOfTheModem) {
    const std::tuple<const char*, Texts, Texts> cases[] = {
        {"connect", {"\r\nCONNECT 9600\r\n"}, {kConnected}},
        {"busy", {"\r\nBUSY\r\n"}, {"Broj je zauzet !\n"}},
        {"no carrier", {"\r\nNO CARRIER\r\n"}, {"Linija je zauzeta !\n"}},
        {"no answer", {"\r\nNO ANSWER\r\n"}, {"Nema odgovora !\n"}},
        {"no dial tone", {"\r\nNO DIALTONE\r\n"}, {"Linija je prekinuta !\n"}},
        {"ring", {"\r\nRING\r\n\r\n", "", "CONNECT 19200"}, {"Imate poziv ! ", kConnected}},
        {"retry", {"\r\nBUSY\r\n", "<dial>", "xxCONNECT"}, {"Broj je zauzet !\n", kConnected}},
        // CONNECT is looked for first, whatever else the same read holds.
        {"connect before busy", {"BUSY CONNECT"}, {kConnected}},
        // An answer split across reads is never seen whole.
        {"split answer", {"\r\n\r\nCONN", "ECT 9600\r\n"}, {kNotConnected}},
        // A read of fewer than 7 characters is skipped, also for the short answers.
        {"short reads", {"BUSY\r\n", "RING\r\n", "OK\r\n"}, {kNotConnected}},
        {"silence", {}, {kNotConnected}}};
    for (const auto& [name, reads, texts] : cases) {
        SCOPED_TRACE(name);
        Rig r;
        const bool connected = texts.back() == kConnected;
        const auto redials = std::count(reads.begin(), reads.end(), "<dial>");
        r.screen.phoneNumber = "0113334444";
        r.screen.password = "lozinka";
        r.dialogs.answer(redials ? Answer::Retry : Answer::Cancel).answer(Answer::Cancel);
        r.link.expect("Init_RS232", "1", 0).expect("send_data", "ATDP0113334444\r\n", 16);
        for (const std::string& read : reads) {
            if (read == "<dial>")
                r.link.expect("send_data", "ATDP0113334444\r\n", 16);
            else
                r.link.expect("read_data", "", 0, read);
        }
        if (connected)
            r.link.expect("send_data", "lozinka", 7);
        r.screen.onToolbar("Connect");

        EXPECT_EQ(r.dialogs.texts(), texts);
        EXPECT_EQ(r.state.ModemMode, connected);
        EXPECT_TRUE(r.link.script.empty());
        EXPECT_EQ(r.link.count("send_data"), 1 + redials + (connected ? 1 : 0));
        EXPECT_EQ(r.pauses, std::vector<int>(redials, 1000));
        // Without an answer, 150 reads into the dial command itself (16 bytes) are made.
        EXPECT_EQ(r.link.count("read_data") == 150, texts.back() == kNotConnected);
        EXPECT_EQ(r.link.calls[3].arg, 16);
        for (const MessageBox& box : r.dialogs.boxes) {
            EXPECT_EQ(box.title, "Arvon Cash Registers");
            EXPECT_EQ(box.buttons == Buttons::RetryCancel, box.text.back() == '\n') << box.text;
        }
        // The PORT row is stored before the first dial, without blank substitution.
        EXPECT_EQ(r.db.statements.back(), kInsert + "1, '9600', 'ATDP', '0113334444');");
    }
}

TEST_F(ComLineTest, DisconnectLooksForOkInOneHundredReads) {
    const std::tuple<Texts, int, std::string> cases[] = {
        {{"", "\r\nOK\r\n"}, 2, "Komunikacija je prekinuta ! "},
        {{"OK"}, 1, "Komunikacija je prekinuta ! "},
        // The line already down: no "OK" in any one read.
        {{"O", "K\r\n"}, 100, "Komunikacija je vec bila prekinuta !"}};
    for (const auto& [reads, readCount, text] : cases) {
        link.calls.clear();
        dialogs.boxes.clear();
        state.ModemMode = true;
        link.expect("send_data", "ATH\r\n", 5);
        for (const std::string& read : reads)
            link.expect("read_data", "", 0, read);
        screen.onToolbar("Disconnect");
        EXPECT_EQ(link.count("read_data"), readCount);
        EXPECT_EQ(shown(), Texts{"Arvon Cash Registers: " + text});
        EXPECT_EQ(state.ModemMode, readCount == 100);  // left as it was when not found
    }
}

TEST_F(ComLineTest, TestLinkUsesTheLineKindAndSpeaksOnlyWhenTheRegisterAnswers) {
    link.expect("Testconnessione", "", 0).expect("TestconnessioneM", "", 3);
    TestLink(station);
    state.ModemMode = true;
    TestLink(station);
    EXPECT_EQ(shown(), Texts{"Arvon Cash Registers: Veza je u redu!"});
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
    EXPECT_TRUE(link.script.empty());
}

TEST_F(ComLineTest, CheckForSpeedTakesTheRegistersIndexAndReopensTheLine) {
    int index = 1;
    for (const char* display : {"  5.8.11.1 3  ", "5.8.11.1 x", "5.8.11.1", "5.8.11.2 0"})
        CheckForSpeed(station, display, index);
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(link.calls.empty());
    state.PortNumber = 4;
    state.PhoneNumber = "555";
    link.expect("Init_RS232bd", "4", 0).expect("Init_RS232bd", "4", 1);
    CheckForSpeed(station, "5.8.11.4", index);
    EXPECT_EQ(state.BaudRate, 38400);
    EXPECT_EQ(link.calls[0].op, "Close_RS232");
    EXPECT_EQ(link.calls[1].arg, 38400);
    CheckForSpeed(station, "5.8.11.4", index);  // a line that does not open stores nothing
    EXPECT_EQ(db.statements,
              (Texts{"delete * from port;", kInsert + "'4', '38400', 'ATDP', '555');"}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace qov
