#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "processes.h"
#include "support/test_environment.h"

namespace qov::test {
namespace {

// A program file with the ten department names and the set-up keys it must hold.
std::string ProgramFile(const std::vector<std::string>& names, bool cyrillic) {
    std::string text = "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[DEPARTMENTS]\r\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += "DESCRIPTION_" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
    }
    text += "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=";
    text += cyrillic ? "True" : "False";
    text += "\r\n[SETWDTH]\r\nWDTH=22\r\n";
    return text;
}

// The department names of a program file exactly as written (blanks kept).
std::vector<std::string> DepartmentNames(const std::string& path) {
    const std::string text = ReadFile(path);
    std::vector<std::string> names;
    for (int n = 1; n <= 10; ++n) {
        const std::string key = "\nDESCRIPTION_" + std::to_string(n) + "=";
        const std::size_t at = text.find(key);
        if (at == std::string::npos) {
            names.push_back("<missing>");
            continue;
        }
        const std::size_t start = at + key.size();
        const std::size_t end = text.find_first_of("\r\n", start);
        names.push_back(text.substr(start, end - start));
    }
    return names;
}

QStringList Args(std::initializer_list<std::string> args) {
    QStringList list;
    for (const std::string& a : args) {
        list << QString::fromStdString(a);
    }
    return list;
}

class QovctlUsage : public ::testing::Test {
protected:
    std::string home = MakeHome();
};

struct UsageCase {
    std::vector<std::string> args;
    std::string stderrHas;
};

TEST_F(QovctlUsage, UsageErrorsExitWithTwo) {
    const std::vector<UsageCase> cases = {
        {{}, "no command"},
        {{"fly"}, "unknown command fly"},
        {{"send"}, "send needs at least one table"},
        {{"test-link", "departments"}, "test-link takes no table"},
        {{"send", "vat"}, "unknown table vat; tables that can be sent: departments message"},
        {{"receive", "message"}, "unknown table message; tables that can be received: departments"},
        {{"send", "departments", "articles"},
         "table articles cannot be sent yet; tables that can be sent: departments message"},
        {{"receive", "sold"},
         "table sold cannot be received yet; tables that can be received: departments"},
        {{"--retries", "x", "test-link"}, "--retries needs a whole number"},
        {{"--speed", "-5", "test-link"}, "--speed needs a positive whole number"},
        {{"--bogus", "test-link"}, "unknown option --bogus"},
        {{"test-link", "--home"}, "--home needs a value"},
        {{"--message", "a|b|c|d", "send", "message"}, "at most three lines"},
        {{"--message", std::string(23, 'x'), "send", "message"},
         "message line 1 is longer than 22 characters"},
    };
    for (const UsageCase& c : cases) {
        QStringList args = Args({"--home", home, "--device", "tcp://127.0.0.1:1"});
        for (const std::string& a : c.args) {
            args << QString::fromStdString(a);
        }
        const ProcessResult r = RunBuilt("qovctl", args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_NE(r.err.find(c.stderrHas), std::string::npos)
            << args.join(' ').toStdString() << "\n"
            << r.err;
        EXPECT_NE(r.err.find("usage: qovctl"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(QovctlUsage, HelpGoesToStdout) {
    const ProcessResult r = RunBuilt("qovctl", {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: qovctl", 0), 0u);
}

TEST_F(QovctlUsage, InvalidProgramFileExitsWithTwo) {
    const std::string file = home + "bad.ini";
    WriteFile(file, "[QOVCOM]\r\nVERSION=nope\r\n");
    const ProcessResult r =
        RunBuilt("qovctl", Args({"--home", home, "--device", "tcp://127.0.0.1:1", "--load", file,
                                 "send", "departments"}));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Arvon Cash Registers: Fajl nije validan"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(QovctlUsage, NoRegisterOnTheLine) {
    // Port 1 of the loopback: nobody listens there.
    ProcessResult r =
        RunBuilt("qovctl", Args({"--home", home, "--device", "tcp://127.0.0.1:1", "test-link"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Arvon Cash Registers: Veza nije u redu!\n");

    r = RunBuilt("qovctl",
                 Args({"--home", home, "--device", "tcp://127.0.0.1:1", "send", "departments"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Arvon Cash Registers: Veza nije u redu!\n");

    // The receive run says nothing when the test fails.
    r = RunBuilt("qovctl",
                 Args({"--home", home, "--device", "tcp://127.0.0.1:1", "receive", "departments"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST_F(QovctlUsage, MissingDatabaseIsReportedAndTheRunGoesOn) {
    const std::string bare = MakeTempFolder("qovctl-bare") + "/";
    WriteFile(bare + "QovCom.ini", "[database]\r\nconnectionstring=Driver=Nothing\r\n");
    const ProcessResult r =
        RunBuilt("qovctl", Args({"--home", bare, "--device", "tcp://127.0.0.1:1", "test-link"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Baza trenutno nije dostupna."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(Sender:='frmMain.Form_Load()')"), std::string::npos) << r.err;
}

// Departments sent to the simulator and read back into a program file.
class QovctlRoundTrip : public ::testing::Test {
protected:
    ProcessResult qovctl(const Simulator& sim, std::initializer_list<std::string> args) {
        QStringList list = Args({"--home", home, "--device", sim.device()});
        list << Args(args);
        return RunBuilt("qovctl", list);
    }

    // Sends the names with --load and reads them back with --save; the names read back
    // must equal the names as the send left them in memory.
    void roundTrip(const Simulator& sim, const std::vector<std::string>& names, bool cyrillic,
                   const std::vector<std::string>& expected,
                   std::initializer_list<std::string> extra = {}) {
        ASSERT_TRUE(sim.started()) << sim.error();
        const std::string source = home + "source.ini";
        const std::string sent = home + "sent.ini";
        const std::string back = home + "back.ini";
        WriteFile(source, ProgramFile(names, cyrillic));

        QStringList sendArgs = Args({"--home", home, "--device", sim.device()});
        sendArgs << Args(extra) << Args({"--load", source, "--save", sent, "send", "departments"});
        ProcessResult r = RunBuilt("qovctl", sendArgs);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "Odeljenja: OK\n");

        QStringList receiveArgs = Args({"--home", home, "--device", sim.device()});
        receiveArgs << Args(extra) << Args({"--save", back, "receive", "departments"});
        r = RunBuilt("qovctl", receiveArgs);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "Odeljenja: OK\n");

        EXPECT_EQ(DepartmentNames(sent), expected);
        EXPECT_EQ(DepartmentNames(back), expected);
    }

    std::string home = MakeHome();
    const std::vector<std::string> cyrillicNames = {"Hleb", "Mleko", "PI]E", "Wiva", "Sok sa ledom",
                                                    "Meso", "Voce",  "Riba", "Sir",  "Njiva"};
    const std::vector<std::string> cyrillicSent = {
        "Hleb        ", "Mleko       ", "PI]E        ", "Wiva        ", "Sok sa ledom",
        "Meso        ", "Voce        ", "Riba        ", "Sir         ", "Wiva        "};
    const std::vector<std::string> latinNames = {"Hleb 1", "MLEKO",    "Pice 3", "Povrce",
                                                 "Sokovi", "Meso",     "Voce",   "Riba 8",
                                                 "Sir 9",  "Ostalo 10"};
    const std::vector<std::string> latinSent = {
        "Hleb 1      ", "MLEKO       ", "Pice 3      ", "Povrce      ", "Sokovi      ",
        "Meso        ", "Voce        ", "Riba 8      ", "Sir 9       ", "Ostalo 10   "};
};

TEST_F(QovctlRoundTrip, TestLinkAnswers) {
    auto sim = Simulator::Tcp();
    ASSERT_TRUE(sim->started()) << sim->error();
    const ProcessResult r = qovctl(*sim, {"test-link"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Veza je u redu!\n");
}

TEST_F(QovctlRoundTrip, StoredLineOfThePortRowAndThePortsMap) {
    auto sim = Simulator::Tcp();
    ASSERT_TRUE(sim->started()) << sim->error();
    // Port 2 from the PORT row, its device from [ports]; without --device.
    WriteFile(home + "QovCom.ini",
              ReadFile(home + "QovCom.ini") +
                  "[ports]\r\ncom1=tcp://127.0.0.1:1\r\ncom2=" + sim->device() + "\r\n");
    QProcess sqlite;
    sqlite.start("sqlite3", {QString::fromStdString(home + "QovCom.db"),
                             "INSERT INTO PORT (Port, Qov, tone, phonenm) VALUES (2, '19200', "
                             "'ATDP', '')"});
    ASSERT_TRUE(sqlite.waitForFinished(20000));
    ProcessResult r = RunBuilt("qovctl", Args({"--home", home, "test-link"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Veza je u redu!\n");
    // --device replaces the stored line.
    r = RunBuilt("qovctl", Args({"--home", home, "--device", "tcp://127.0.0.1:1", "test-link"}));
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(QovctlRoundTrip, CyrillicDepartmentsOverTcp) {
    auto sim = Simulator::Tcp();
    roundTrip(*sim, cyrillicNames, true, cyrillicSent);
}

TEST_F(QovctlRoundTrip, LatinDepartmentsOverTcp) {
    auto sim = Simulator::Tcp();
    roundTrip(*sim, latinNames, false, latinSent);
}

TEST_F(QovctlRoundTrip, CyrillicDepartmentsOverAPseudoTerminal) {
    auto sim = Simulator::Pty(MakeTempFolder("qovpty") + "/line");
    roundTrip(*sim, cyrillicNames, true, cyrillicSent, {"--speed", "57600"});
}

TEST_F(QovctlRoundTrip, DepartmentsThroughAFaultyLine) {
    for (const char* seed : {"1", "7"}) {
        auto sim = Simulator::Tcp({"--fault-rate", "0.05", "--seed", seed});
        roundTrip(*sim, cyrillicNames, true, cyrillicSent, {"--retries", "5"});
    }
}

TEST_F(QovctlRoundTrip, MessageAndDepartmentsInListOrder) {
    auto sim = Simulator::Tcp();
    ASSERT_TRUE(sim->started()) << sim->error();
    const ProcessResult r =
        qovctl(*sim, {"--message", "Dobar dan|Hvala", "send", "message", "departments"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Odeljenja: OK\nPoruka: OK\n");
    EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace qov::test
