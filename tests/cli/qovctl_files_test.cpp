// qovctl and the files it is given: --save merges only what the run received and never
// replaces what is not a regular file, and output that cannot be written fails the run.
#include <sys/stat.h>

#include <filesystem>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

const std::string kMine =
    "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[HEADER]\r\nROW_0=\"  MOJA PRODAVNICA \"\r\n"
    "[OPERATORS]\r\nNAME_1=Ana\r\n[MINE]\r\nnote=keep\r\n[DEPARTMENTS]\r\nDESCRIPTION_1=Staro\r\n";

TEST_F(Qovctl, SaveMergesOnlyTheTablesTheRunReceived) {
    const std::string mine = home + "mine.ini", fresh = home + "fresh.ini", fifo = home + "fifo";
    WriteFile(mine, kMine);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    // A run that fails leaves the file as it was.
    EXPECT_EQ(run("tcp://127.0.0.1:1", {"--save", mine, "receive", "departments"}),
              "1||Arvon Cash Registers: Veza nije u redu!\n"
              "qovctl: tcp://127.0.0.1:1: connection refused\nqovctl: " +
                  mine + " not written: the run did not succeed\n");
    EXPECT_EQ(ReadFile(mine), kMine);

    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo"});
    EXPECT_EQ(run(device, {"--save", mine, "receive", "departments", "articles"}),
              "0|Odeljenja: OK\nArtikli: OK\n|");
    const std::string merged = ReadFile(mine);
    const std::size_t departments = merged.find("[DEPARTMENTS]\r\n");
    ASSERT_NE(departments, std::string::npos);
    EXPECT_EQ(merged.substr(0, departments), kMine.substr(0, kMine.find("[DEPARTMENTS]")));
    EXPECT_EQ(merged.find("Staro"), std::string::npos);
    EXPECT_NE(merged.find("DESCRIPTION_10="), std::string::npos);
    EXPECT_EQ(merged.find("[SISTEM]"), std::string::npos);

    // A new file gets every key; a pipe is not replaced and the run says why.
    EXPECT_EQ(run(device, {"--save", fresh, "receive", "departments"}), "0|Odeljenja: OK\n|");
    for (const char* key : {"[HEADER]", "NAME_31=", "[SISTEM]", "[SETPORT]", "DESCRIPTION_10="}) {
        EXPECT_NE(ReadFile(fresh).find(key), std::string::npos) << key;
    }
    EXPECT_EQ(run(device, {"--save", fifo, "receive", "departments"}),
              "1|Odeljenja: OK\n|qovctl: " + fifo + ": not a regular file\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(Qovctl, OutputThatCannotBeWrittenFailsTheRun) {
    QProcess p;
    p.setStandardOutputFile("/dev/full");
    p.start(QOV_BIN_DIR "/qovctl", Args({"--home", home, "--help"}));
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError().toStdString(),
              "qovctl: standard output could not be written\n");
}

// A message in Cyrillic letters reaches the register in its Cyrillic code; its length counts
// letters, not bytes.
TEST_F(Qovctl, MessageInCyrillicLetters) {
    const std::string log = home + "register.log";
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--log", log});
    std::string longest;
    for (int i = 0; i < 22; ++i) {
        longest += "ш";
    }
    EXPECT_EQ(run(device, {"--message", "Здраво|" + longest, "send", "message"}),
              "0|Poruka: OK\n|");
    const std::string journal = ReadFile(log);
    // The log writes bytes above 0x7F as \xNN.
    std::string shas;
    for (int i = 0; i < 22; ++i) {
        shas += "\\xE8";
    }
    EXPECT_NE(journal.find("\\xB7\\xD4\\xE0\\xD0\\xD2\\xDE "), std::string::npos) << journal;
    EXPECT_NE(journal.find(shas + " "), std::string::npos) << journal;
}

}  // namespace
}  // namespace qov::test
