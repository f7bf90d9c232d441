// Backups, their restore and the comparison of a register with a program file, by qovctl
// against the simulator's demo shop; the line trace decoded.
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

// The fields of the first article row of an article CSV file.
Strings FirstArticle(const std::string& csv) {
    const std::size_t start = csv.find("\r\n") + 2;
    const QString row = QString::fromStdString(csv.substr(start, csv.find("\r\n", start) - start));
    Strings fields;
    for (const QString& f : row.split(';')) {
        fields.push_back(f.toStdString());
    }
    return fields;
}

// What a minimal program file with department 3 named NAME, in Cyrillic (LNG=1) or not,
// makes qovctl send.
std::string ProgramFile(const std::string& department3, bool cyrillic) {
    return "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[DEPARTMENTS]\r\nDESCRIPTION_3=" + department3 +
           "\r\n[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=" + (cyrillic ? "1" : "0") +
           "\r\n[SETWDTH]\r\nWDTH=32\r\n";
}

class Backups : public Qovctl {
protected:
    // A backup into `parent`: the folder qovctl printed.
    std::string backup(const std::string& device, const std::string& parent) {
        const std::string r = run(device, {"backup", home + parent});
        EXPECT_EQ(r.substr(0, 2), "0|") << r;
        return r.substr(2, r.find('\n') - 2);
    }
};

TEST_F(Backups, ReadCompareChangeRestore) {
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo"});
    const std::string folder = backup(device, "kopije");
    EXPECT_TRUE(QRegularExpression("^" + QRegularExpression::escape(QString::fromStdString(home)) +
                                   "kopije/AR4821-\\d{8}-\\d{6}$")
                    .match(QString::fromStdString(folder))
                    .hasMatch())
        << folder;
    const std::string program = ReadFile(folder + "/program.ini");
    for (const char* line :
         {"\r\n[BACKUP]\r\nSERIAL=AR4821\r\n",
          "\r\nREAD=departments,articles,sold,operators,currencies,system,vat,units,types\r\n"
          "FAILED=\r\nCYRILLIC=\r\n",
          "\r\nDESCRIPTION_3=\"MESO        \"\r\n",
          "\r\nTAX_1=2000\r\nTAX_2=1000\r\nTAX_3=0000\r\n"}) {
        EXPECT_NE(program.find(line), std::string::npos) << line;
    }
    const std::string articles = ReadFile(folder + "/articles.csv");
    EXPECT_EQ(std::count(articles.begin(), articles.end(), '\n'), 1 + 336);
    EXPECT_EQ(articles.substr(0, articles.find("\r\n")),
              "BAR_CODE;DESCRIPTION;PRICE;VAT_CODE;MES_TYPE;ART_TYPE;ONE_ITEM;DEPARTMENT;"
              "INVENTARY;TOTAL;QTY");
    EXPECT_GT(ReadFile(folder + "/sold.csv").size(), 100u);
    // The station's received tables are not the backup's.
    EXPECT_EQ(run("", {"list-articles", "--received"}), "0||");

    const Strings diff = {"diff", folder + "/program.ini", "--articles", folder + "/articles.csv"};
    EXPECT_EQ(run(device, diff), "0||");

    // Department 3 in Cyrillic, the first article's price changed.
    const Strings first = FirstArticle(articles);
    ASSERT_EQ(first.size(), 11u);
    EXPECT_EQ(first[0] + ";" + first[1] + ";" + first[2],
              "860000000001;\"HLEB BELI" + std::string(19, ' ') + "\";65");
    sql("INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
        "ONE_ITEM, DEPARTMENT, INVENTARY) VALUES ('860000000001', 'HLEB BELI', 99.99, " +
        first[3] + ", " + first[4] + ", " + first[5] + ", " + first[6] + ", " + first[7] + ", " +
        first[8] + ")");
    WriteFile(home + "cyrillic.ini", ProgramFile("PIVO", true));
    WriteFile(home + "latin.ini", ProgramFile("", false));
    EXPECT_EQ(run(device, {"--load", home + "cyrillic.ini", "send", "departments"}),
              "0|Odeljenja: OK\n|");
    EXPECT_EQ(run(device, {"--load", home + "latin.ini", "send", "articles"}), "0|Artikli: OK\n|");
    EXPECT_EQ(run(device, diff),
              "3|departments 3 description: \"PIVO\" -> \"MESO\"\n"
              "articles 860000000001 price: 99.99 -> 65\n|");
    const std::string changed = ReadFile(backup(device, "kopije") + "/program.ini");
    EXPECT_NE(changed.find("\r\nCYRILLIC=departments\r\n"), std::string::npos);
    EXPECT_NE(changed.find("\r\nDESCRIPTION_3=\"PIVO        \"\r\n"), std::string::npos);

    EXPECT_EQ(run(device, {"restore", folder}, "n\n"), "1||Da li ste sigurni? (d/n) ");
    EXPECT_EQ(run(device, {"--yes", "restore", folder}),
              "0|Odeljenja: OK\nArtikli: OK\nLager artikala: OK\nKasiri: OK\nValute: OK\n"
              "Opsti podaci: OK\nJedinice mere: OK\nTipovi artikala: OK\n"
              "Zaglavlje i reklama se ne citaju iz kase, a poreske stope se ne salju: kasa ih "
              "zadrzava kakve jesu.\n|");
    EXPECT_EQ(run(device, diff), "0||");
    // The department went back in the Latin letters it was read in.
    EXPECT_NE(ReadFile(backup(device, "kopije") + "/program.ini").find("\r\nCYRILLIC=\r\n"),
              std::string::npos);
}

TEST_F(Backups, WhatCannotBeReadOrRestored) {
    const std::string noLink = "1||Arvon Cash Registers: Veza nije u redu!\n";
    WriteFile(home + "not-a-backup/program.ini", ProgramFile("PIVO", false));
    EXPECT_TRUE(run("tcp://127.0.0.1:1", {"backup", home + "kopije"}).starts_with(noLink));
    EXPECT_FALSE(QDir(QString::fromStdString(home + "kopije")).exists());
    EXPECT_TRUE(
        run("tcp://127.0.0.1:1", {"diff", home + "not-a-backup/program.ini"}).starts_with(noLink));
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0"});
    EXPECT_EQ(
        run(device, {"--yes", "restore", home + "not-a-backup"}),
        "1||Arvon Cash Registers: Fascikla nije rezervna kopija kase: " + home + "not-a-backup\n");
    EXPECT_TRUE(run(device, {"diff", home + "missing.ini"}).starts_with("1|"));
}

// A trace of a receive over a line that loses and damages frames, decoded in full and with
// --errors: every exchange is either clean or shown by --errors.
TEST_F(Backups, TheTraceOfALineDecoded) {
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--fault-rate", "0.08", "--seed", "3"});
    WriteFile(home + "QovCom.ini", ReadFile(home + "QovCom.ini") + "[link]\r\ntrace=1\r\n");
    // Whether a table survives the faults does not matter here.
    const std::string r = run(device, {"--retries", "20", "receive", "departments", "operators"});
    EXPECT_NE(r.find("|Odeljenja: "), std::string::npos) << r;
    const QStringList all = QString::fromUtf8(run("", {"trace", home + "QovDll.trace"}))
                                .split('\n', Qt::SkipEmptyParts);
    const QStringList errors =
        QString::fromUtf8(run("", {"trace", "--errors", home + "QovDll.trace"}))
            .split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(all.size(), 2);
    EXPECT_TRUE(all[0].startsWith("0|-- ")) << all[0].toStdString();
    const QRegularExpression request(
        R"(^\d\d:\d\d:\d\d\.\d{3} -> SEQ 0x[2-7][0-9A-F] "B00" CRC ok$)");
    const QRegularExpression clean(R"( == "(B|E)\d\d": 1 attempt, reply A(, result \d+)?$)");
    const QRegularExpression retried(R"( == "(B|E)\d\d": (resent|\d attempts \())");
    EXPECT_GE(all.filter(request).size(), 1);
    const int exchanges = static_cast<int>(all.filter(" == \"").size());
    const int troubled = static_cast<int>(all.filter(retried).size());
    EXPECT_GE(exchanges, 12);
    EXPECT_GT(troubled, 0);
    EXPECT_EQ(static_cast<int>(all.filter(clean).size()) + troubled, exchanges);
    // --errors keeps the troubled exchanges and none of the clean ones.
    EXPECT_EQ(static_cast<int>(errors.filter(retried).size()), troubled);
    EXPECT_EQ(errors.filter(clean).size(), 0);
    EXPECT_TRUE(all.filter(" CRC bad (").size() + all.filter("broken frame").size() +
                    all.filter(" <- NAK").size() >
                0);
}

}  // namespace
}  // namespace qov::test
