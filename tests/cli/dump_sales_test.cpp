// qovctl's dump and sales commands against the register simulator.

#include <QThread>

#include <csignal>
#include <filesystem>
#include <sstream>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

Strings LinesOf(const std::string& text) {
    Strings lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The rows a successful sales command printed, nothing on stderr.
Strings SalesRows(const std::string& result) {
    EXPECT_TRUE(result.starts_with("0|") && result.ends_with("\n|")) << result;
    return LinesOf(result.substr(2, result.size() - 3));
}

TEST_F(Qovctl, DumpsWriteALineForEveryBlock) {
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo"});
    EXPECT_EQ(run(device, {"dump", "fiscal"}), "0|" + home + "fiscal.txt: Prijem zavrsen\n|");
    const Strings fiscal = LinesOf(ReadFile(home + "fiscal.txt"));
    ASSERT_EQ(fiscal.size(), 8192u);
    // The header block: serial AR4821 and the fiscal module's number.
    EXPECT_TRUE(fiscal[0].starts_with("000000 41 52 34 38 32 31 46 4D ")) << fiscal[0];
    EXPECT_EQ(fiscal[8191], "131056 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");

    const std::string folder = home +
                               "Kasa \xC5\xA0"
                               "abac";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    EXPECT_EQ(run(device, {"dump", "program", "--out", folder + "/prg.txt"}),
              "0|" + folder + "/prg.txt: Prijem zavrsen\n|");
    const Strings program = LinesOf(ReadFile(folder + "/prg.txt"));
    ASSERT_EQ(program.size(), 16384u);
    // The system record of the demo shop: "05100001001110".
    EXPECT_TRUE(program[0].starts_with("000000 30 35 31 30 30 ")) << program[0];
    EXPECT_EQ(program[16383].substr(0, 7), "262128 ");

    EXPECT_EQ(run(device, {"dump", "fiscal", "--out", home + "gone/f.txt"}),
              "1||Arvon Cash Registers: Datoteka " + home +
                  "gone/f.txt ne moze da se napravi: No such file or directory.\n");
    EXPECT_TRUE(run(device, {"dump", "memory"})
                    .starts_with("2||qovctl: dump needs one memory: fiscal or program\n"));
}

// Ctrl+C: the block on the line is finished and written; the file keeps one line for every
// block the register gave.
TEST_F(Qovctl, InterruptStopsADumpBetweenTwoBlocks) {
    const std::string log = home + "register.log";
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--reply-delay", "2", "--log", log});
    const auto requests = [&log] {
        int n = 0;
        for (const std::string& line : LinesOf(ReadFile(log))) {
            n += line.starts_with("> ") && line.find(" Y") != std::string::npos;
        }
        return n;
    };
    QProcess p;
    p.start(QOV_BIN_DIR "/qovctl", Args({"--home", home, "--device", device, "dump", "program"}));
    ASSERT_TRUE(p.waitForStarted(10000));
    for (int i = 0; i < 500 && requests() < 20; ++i) {
        QThread::msleep(10);
    }
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    const int read = requests();
    EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 130);
    EXPECT_EQ(p.readAllStandardError().toStdString(),
              "Prijem prekinut, procitano blokova: " + std::to_string(read) + " od 16384\n");
    EXPECT_EQ(LinesOf(ReadFile(home + "prgqov.txt")).size(), static_cast<std::size_t>(read));
    EXPECT_LT(read, 16384);
}

// One receipt after a daily report: its sales in the department, cashier and VAT views.
TEST_F(Qovctl, SalesOfAReceiptShowInEveryView) {
    WriteFile(home + "QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[application.rules]\r\nmaxcek=1000\r\nmaxkartica=1000\r\nmaxkes=100000\r\n");
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo"});
    ASSERT_EQ(run(device, {"report", "daily", "--yes"}).substr(0, 2), "0|");
    // 2 x HLEB BELI (65.00, PEKARA, 10 %) and 1 x VODA (69.00, PICE, 20 %) by cashier 1.
    ASSERT_EQ(run(device, {"receipt", "--line", "860000000001:2", "--line", "860000000025:1",
                           "--cash", "1000"})
                  .substr(0, 2),
              "0|");
    const Strings departments = SalesRows(run(device, {"sales", "departments"}));
    ASSERT_EQ(departments.size(), 10u);
    EXPECT_EQ(departments[0], " 1  PEKARA      ;2;130");
    EXPECT_EQ(departments[4], " 5  PICE        ;1;69");
    EXPECT_EQ(departments[9], "10  OSTALO      ;0;0");
    const Strings cashiers = SalesRows(run(device, {"sales", "operators"}));
    ASSERT_EQ(cashiers.size(), 31u);
    EXPECT_EQ(cashiers[0], " 1  MILAN       ;01000;1;199");
    EXPECT_EQ(cashiers[1], " 2  JELENA      ;01111;0;0");
    EXPECT_EQ(run(device, {"sales", "vat"}),
              "0|0;20%;69\n1;10%;130\n2;0%;0\n3;8%;0\n4;18%;0\n5;0%;0\n6;0%;0\n7;0%;0\n8;0%;0\n"
              "UKUPNO;;199\n|");
}

}  // namespace
}  // namespace qov::test
