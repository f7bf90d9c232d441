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
const std::string kTitle = "Arvon Cash Registers";
const std::string kInsert = "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (";

// Records the statements; the connection "down" cannot be opened.
struct RecordingDatabase : Database {
    void open(const std::string& connection) override {
        if (connection == "down")
            throw RunError(RunError::kDatabaseUnavailable, "unreachable");
    }
    void execute(const std::string& sql) override { statements.push_back(sql); }
    std::unique_ptr<RowSet> query(const std::string&) override { return nullptr; }
    void close() override {}
    bool isOpen() const override { return false; }  // open() either throws or succeeds
    void begin() override {}
    void commit() override {}
    void rollback() override {}
    Texts statements;
};

// The screen with its station: fake dialogs, link and database.
struct Rig {
    Rig() {
        std::tie(state.ToneDialCommand, state.PulseDialCommand, state.DialCommand,
                 state.HangupCommand) = std::make_tuple("ATDT", "ATDP", "ATDP", "ATH");
        screen.pause = [this](int ms) { pauses.push_back(ms); };
        screen.phoneNumber = "0113334444";
        screen.password = "lozinka";
    }
    // The boxes shown, each as "title: text"; just the text under the usual title.
    Texts shown() const {
        Texts out;
        for (const MessageBox& box : dialogs.boxes)
            out.push_back(box.title == kTitle ? box.text : box.title + ": " + box.text);
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

// The screen shows the stored set-up; "Salva" stores it (three blanks for an empty phone or
// password, quotes doubled) and reopens the line; "Annulla" closes without touching the line.
TEST_F(ComLineTest, ScreenShowsTheSetUpSalvaStoresThePortRowAnnullaCloses) {
    std::tie(state.PortNumber, state.BaudRate, state.DialCommand, state.PhoneNumber,
             state.LinePassword) = std::make_tuple(3, 38400, "ATDT", "0113334444", "tajna");
    screen.open();
    EXPECT_EQ(std::tie(state.CurrentForm, screen.portIndex, screen.speedIndex, screen.tone,
                       screen.phoneNumber, screen.password),
              std::make_tuple("frmcomline", 2, 3, true, "0113334444", "tajna"));
    screen.onToneClicked(false);
    const std::string pulse = state.DialCommand;
    screen.onToneClicked(true);
    EXPECT_EQ(pulse + "|" + state.DialCommand, "ATDP|ATDT");

    state.ModemMode = true;
    screen.speedIndex = 2;
    screen.phoneNumber = screen.password = "";
    screen.onToolbar("Salva");
    EXPECT_EQ(std::tie(state.PortNumber, state.BaudRate, state.ModemMode, state.LinePassword,
                       state.PhoneNumber),
              std::make_tuple(3, 19200, false, "   ", "   "));
    EXPECT_EQ(shown(), Texts{"Komunikacioni port je odabran."});
    EXPECT_EQ(db.statements,
              (Texts{"delete * from port;", kInsert + "3, '19200', 'ATDT', '   ');"}));
    EXPECT_EQ(link.count("Close_RS232"), 2);  // closed twice before it opens at the new speed
    EXPECT_EQ(link.calls.back().arg, 19200);
    screen.phoneNumber = "011'22";
    screen.password = "x";
    screen.onToolbar("Salva");
    EXPECT_EQ(db.statements.back(), kInsert + "3, '19200', 'ATDT', '011''22');");
    EXPECT_EQ(state.LinePassword, "x");

    screen.onToolbar("Annulla");  // the line is left alone
    EXPECT_EQ(std::make_tuple(state.CurrentForm, screen.closeRequested(), link.calls.size()),
              std::make_tuple(" ", true, 6u));
}

// A busy or wrongly set port on "Salva" and "Connect" (any other failure shows nothing), a
// missing phone number, an unreachable database on "Salva" and in CheckForSpeed.
TEST_F(ComLineTest, FailuresShowTheirBoxesWithTheSenderAndAPortErrorDialsAndStoresNothing) {
    state.ModemMode = true;
    for (const int result : {1, 2, -3}) {
        link.expect("Init_RS232bd", "1", result).expect("Init_RS232", "1", result);
        screen.onToolbar("Salva");
        screen.onToolbar("Connect");
    }
    EXPECT_EQ(std::make_tuple(state.ModemMode, link.count("send_data"), db.statements.size()),
              std::make_tuple(true, 0, 0u));
    screen.phoneNumber = "";
    screen.onToolbar("Connect");
    state.ConnectionString = "down";
    screen.onToolbar("Salva");
    int index = 0;
    CheckForSpeed(station, "5.8.11.4", index);
    const std::string down =
        "Baza trenutno nije dostupna.\nMolimo Vas, proverite globalne "
        "parametre za pristup podacima.";
    EXPECT_EQ(
        shown(),
        (Texts{"Port je zauzet !", "Port je zauzet !", "Port nije dobro podesen ! ",
               "Port nije dobro podesen ! ", "Arvon Cash registers: Unesite telefonski broj !",
               "Komunikacioni port je odabran.",
               "Arvon Cash Registers(Sender:='frmComLine.Toolbar1_ButtonClick()'): " + down,
               "Arvon Cash Registers(Sender:='frmKeyboard.CheckForSpeed()'): " + down}));
}

// One dialling: what the reads return (after the first dial; "<dial>" where the user asked to
// dial again) and the boxes shown. The simple answers of the modem are dialled against the
// register simulator in the ui tests (ComLineModemTest).
TEST(ComLineDial, AnswersOfTheModem) {
    const std::tuple<const char*, Texts, Texts> cases[] = {
        {"connect", {"\r\nCONNECT 9600\r\n"}, {kConnected}},
        {"ring", {"\r\nRING\r\n\r\n", "", "CONNECT 19200"}, {"Imate poziv ! ", kConnected}},
        {"retry", {"\r\nBUSY\r\n", "<dial>", "xxCONNECT"}, {"Broj je zauzet !\n", kConnected}},
        // CONNECT is looked for first, whatever else the same read holds.
        {"connect before busy", {"BUSY CONNECT"}, {kConnected}},
        // An answer split across reads is never seen whole.
        {"split answer", {"\r\n\r\nCONN", "ECT 9600\r\n"}, {kNotConnected}},
        // A read of fewer than 7 characters is skipped, also for the short answers; nothing
        // more comes.
        {"short reads", {"BUSY\r\n", "RING\r\n", "OK\r\n"}, {kNotConnected}},
    };
    for (const auto& [name, reads, texts] : cases) {
        SCOPED_TRACE(name);
        Rig r;
        const bool connected = texts.back() == kConnected;
        const auto redials = std::count(reads.begin(), reads.end(), "<dial>");
        r.dialogs.answer(redials ? Answer::Retry : Answer::Cancel).answer(Answer::Cancel);
        r.link.expect("Init_RS232", "1", 0).expect("send_data", "ATDP0113334444\r\n", 16);
        for (const std::string& read : reads)
            read == "<dial>" ? r.link.expect("send_data", "ATDP0113334444\r\n", 16)
                             : r.link.expect("read_data", "", 0, read);
        if (connected)
            r.link.expect("send_data", "lozinka", 7);
        r.screen.onToolbar("Connect");

        // Without an answer, 150 reads into the dial command itself (16 bytes) are made.
        EXPECT_EQ(std::make_tuple(r.shown(), r.state.ModemMode, r.pauses, r.link.count("send_data"),
                                  r.link.count("read_data") == 150, r.link.calls[3].arg),
                  std::make_tuple(texts, connected, std::vector<int>(redials, 1000),
                                  1 + redials + connected, texts.back() == kNotConnected, 16));
        EXPECT_TRUE(r.link.script.empty());
        for (const MessageBox& box : r.dialogs.boxes)  // Retry/Cancel after a failed dial
            EXPECT_EQ(box.buttons == Buttons::RetryCancel, box.text.back() == '\n') << box.text;
        // The PORT row is stored before the first dial, without blank substitution.
        EXPECT_EQ(r.db.statements.back(), kInsert + "1, '9600', 'ATDP', '0113334444');");
    }
}

// Hanging up looks for "OK" in any one of up to 100 reads (a short read counts here): found in
// the second read, then not found because it is split across reads, as when the line is already
// down; ModemMode is then left set.
TEST_F(ComLineTest, DisconnectLooksForOkInOneHundredReads) {
    for (const char* second : {"OK", "K\r\n"}) {
        state.ModemMode = true;
        link.expect("send_data", "ATH\r\n", 5).expect("read_data", "", 0, "O");
        link.expect("read_data", "", 0, second);
        screen.onToolbar("Disconnect");
        EXPECT_EQ(state.ModemMode, *second == 'K');
    }
    EXPECT_EQ(link.count("read_data"), 102);
    EXPECT_EQ(shown(),
              (Texts{"Komunikacija je prekinuta ! ", "Komunikacija je vec bila prekinuta !"}));
}

// CheckForSpeed takes the register's speed index from "5.8.11.<n>", reopens the line at that
// speed and stores the PORT row only when the line opens. TestLink takes the line kind and
// speaks only when the register answers.
TEST_F(ComLineTest, CheckForSpeedAndTestLinkFollowTheRegister) {
    int index = 1;
    for (const char* display : {"  5.8.11.1 3  ", "5.8.11.1 x", "5.8.11.1", "5.8.11.2 0"})
        CheckForSpeed(station, display, index);
    EXPECT_EQ(std::make_tuple(index, link.calls.size()), std::make_tuple(3, 0u));
    std::tie(state.PortNumber, state.PhoneNumber) = std::make_tuple(4, "555");
    link.expect("Init_RS232bd", "4", 0).expect("Init_RS232bd", "4", 1);
    CheckForSpeed(station, "5.8.11.4", index);
    CheckForSpeed(station, "5.8.11.4", index);  // the line does not open: nothing stored
    EXPECT_EQ(std::make_tuple(link.calls[0].op, link.calls[1].arg, link.count("Close_RS232")),
              std::make_tuple("Close_RS232", 38400, 2));
    EXPECT_EQ(db.statements,
              (Texts{"delete * from port;", kInsert + "'4', '38400', 'ATDP', '555');"}));

    link.expect("Testconnessione", "", 0).expect("TestconnessioneM", "", 3);
    TestLink(station);
    state.ModemMode = true;
    TestLink(station);
    EXPECT_TRUE(link.script.empty());
    EXPECT_EQ(shown(), Texts{"Veza je u redu!"});
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
}

}  // namespace
}  // namespace qov
