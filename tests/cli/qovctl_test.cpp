#include <cstdio>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

TEST_F(Qovctl, UsageErrorsAndRunsWithoutARegister) {
    const std::string
        usage = "\nusage: qovctl [--home DIR]",
        sent =
            "tables that can be sent: departments articles stock operators currencies "
            "system header advert units types message",
        received =
            "tables that can be received: departments articles sold operators "
            "currencies system vat units types";
    auto error = [&](const std::string& text) { return "2||qovctl: " + text + usage; };
    WriteFile(home + "bad.ini", "[QOVCOM]\r\nVERSION=nope\r\n");
    WriteFile(home + "port.ini", "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[SETPORT]\r\nPORT=abc\r\n");
    WriteFile(home + "big.ini", std::string(4 * 1024 * 1024 + 1, '\n'));
    const std::string refused = "qovctl: tcp://127.0.0.1:1: connection refused\n";
    const struct {
        Strings args;
        std::string expected;  // all of it, or up to the usage that follows a usage error
    } cases[] = {
        {{}, error("no command")},
        {{"send", "vat"}, error("unknown table vat; " + sent)},
        {{"receive", "message"}, error("unknown table message; " + received)},
        {{"receive", "header"}, error("unknown table header; " + received)},
        {{"clear-sales", "sold"}, error("clear-sales takes no table")},
        {{"--message", "a|b|c|d", "send", "message"}, error("--message takes at most three lines")},
        {{"--message", std::string(23, 'x'), "send", "message"},
         error("message line 1 is longer than 22 characters")},
        {{"--message", "Šta", "send", "message"},
         error("--message: the register has no code for \"Š\" (Latin letters with marks cannot "
               "be sent; write them plain or in Cyrillic)")},
        {{"--latin", "--message", "Да", "send", "message"},
         error("--message has Cyrillic letters and --latin sends Latin text")},
        {{"--speed", "123", "test-link"}, error("--speed takes 4800, 9600, 19200, 38400 or 57600")},
        {{"--load", home + "bad.ini", "send", "departments"},
         "1||Arvon Cash Registers: Fajl nije validan\nqovctl: " + home +
             "bad.ini: no VERSION=QKRTNWZA480213 in [QOVCOM]\n"},
        {{"--load", home + "none.ini", "send", "departments"},
         "1||Arvon Cash Registers: Fajl nije validan\nqovctl: " + home +
             "none.ini: file not found\n"},
        {{"--load", home + "port.ini", "send", "departments"},
         "1||QovCom: Type mismatch\nqovctl: " + home +
             "port.ini: the value of PORT in [SETPORT] is not valid\n"},
        {{"--load", home + "big.ini", "send", "departments"},
         "1||Arvon Cash Registers: Fajl nije validan\nqovctl: " + home +
             "big.ini: larger than 4 MB\n"},
        {{"--load", home, "send", "departments"},
         "1||Arvon Cash Registers: Fajl nije validan\nqovctl: " + home + ": not a regular file\n"},
        {{"test-link"}, "1||Arvon Cash Registers: Veza nije u redu!\n" + refused},
        {{"send", "departments"}, "1||Arvon Cash Registers: Veza nije u redu!\n" + refused},
        {{"receive", "departments"}, "1||Arvon Cash Registers: Veza nije u redu!\n" + refused},
    };
    for (const auto& c : cases) {
        const std::string r = run("tcp://127.0.0.1:1", c.args);  // nobody listens on port 1
        EXPECT_EQ(c.expected.ends_with(usage) ? r.substr(0, c.expected.size()) : r, c.expected);
    }
}

TEST_F(Qovctl, StoredLineAndListOrderWithARunningRegister) {
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0"});
    // Port 2 from the PORT row, its device from the [ports] map of the settings file.
    WriteFile(home + "QovCom.ini", ReadFile(home + "QovCom.ini") +
                                       "[ports]\r\ncom1=tcp://127.0.0.1:1\r\ncom2=" + device);
    sql("INSERT INTO PORT (Port, Qov, tone, phonenm) VALUES (2, '19200', 'ATDP', '')");
    EXPECT_EQ(run("", {"test-link"}), "0|Veza je u redu!\n|");
    EXPECT_EQ(run("", {"--message", "Dobar dan|Hvala", "send", "message", "departments"}),
              "0|Odeljenja: OK\nPoruka: OK\n|");
    EXPECT_EQ(run("tcp://127.0.0.1:1", {"test-link"}).substr(0, 3), "1||");  // --device wins
}

// Departments sent from one program file and read back into another equal the names as the
// send left them (padded, digraphs packed in Cyrillic): over TCP, a pseudo-terminal, and a line
// that damages 5 % of the bytes.
TEST_F(Qovctl, DepartmentsGoToTheRegisterAndComeBack) {
    const Strings cyrillic = {"Hleb", "Mleko", "PI]E", "Wiva", "Sok sa ledom",
                              "Meso", "Voce",  "Riba", "Sir",  "Njiva"};
    const Strings latin = {"Hleb 1", "MLEKO", "Pice 3", "Povrce", "Sokovi",
                           "Meso",   "Voce",  "Riba 8", "Sir 9",  "Ostalo 10"};
    const std::string tcp = "127.0.0.1:0", pty = MakeTempFolder("qovpty") + "/line";
    const struct {
        Strings simulator;
        std::string option, value;
        bool cyrillic;
    } cases[] = {
        {{"--tcp", tcp}, "--retries", "0", true},
        {{"--tcp", tcp}, "--retries", "0", false},
        {{"--pty", pty}, "--speed", "57600", true},
        {{"--tcp", tcp, "--fault-rate", "0.05", "--seed", "7"}, "--retries", "5", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Args(c.simulator).join(' ').toStdString());
        Simulator sim;
        const std::string device = Start(sim, c.simulator);
        std::string file = "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[DEPARTMENTS]\r\n";
        for (std::size_t i = 0; i < 10; ++i) {
            file += "DESCRIPTION_" + std::to_string(i + 1) + "=" +
                    (c.cyrillic ? cyrillic : latin)[i] + "\r\n";
        }
        // --save writes a new file whole (an existing one only gets the tables received).
        std::remove((home + "sent.ini").c_str());
        std::remove((home + "back.ini").c_str());
        WriteFile(home + "source.ini",
                  file + "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=" +
                      (c.cyrillic ? "True" : "False") + "\r\n[SETWDTH]\r\nWDTH=22\r\n");
        const std::string send = run(device, {c.option, c.value, "--load", home + "source.ini",
                                              "--save", home + "sent.ini", "send", "departments"});
        const std::string receive =
            run(device, {c.option, c.value, "--save", home + "back.ini", "receive", "departments"});
        const std::string ok = "0|Odeljenja: OK\n|";  // boxes of retried frames may follow
        EXPECT_EQ(send.substr(0, ok.size()) + receive.substr(0, ok.size()), ok + ok);
        const Strings sent = names("sent.ini");
        EXPECT_EQ(names("back.ini"), sent);
        // Held padded to 12, so written between quotes.
        EXPECT_EQ(sent.size() == 10 ? sent[9] : "",
                  c.cyrillic ? "\"Wiva        \"" : "\"Ostalo 10   \"");
    }
}

}  // namespace
}  // namespace qov::test
