// One command on a fleet of registers: seven simulators and a line nobody answers.
#include <QDir>

#include <algorithm>
#include <memory>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

// A department name as a program file written from the register keeps it: padded to 12, in
// quotes when the padding shows.
std::string Stored(const std::string& name) {
    return name.size() < 12 ? "\"" + name + std::string(12 - name.size(), ' ') + "\"" : name;
}

TEST_F(Qovctl, AFleetOfEightWithOneDeadLine) {
    std::vector<std::unique_ptr<Simulator>> sims;
    std::string fleet = "[registers]\r\n";
    for (int i = 1; i <= 7; ++i) {
        sims.push_back(std::make_unique<Simulator>());
        fleet += "kasa" + std::to_string(i) + "=" + Start(*sims.back(), {"--tcp", "127.0.0.1:0"}) +
                 "\r\n";
    }
    fleet += "kasa8=tcp://127.0.0.1:1\r\n";  // nobody listens there
    WriteFile(home + "fleet.ini", fleet);
    WriteFile(home + "cene.ini",
              "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[DEPARTMENTS]\r\nDESCRIPTION_1=HLEB\r\n"
              "DESCRIPTION_2=MLEKO\r\nDESCRIPTION_3=PICE\r\n[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n"
              "[SETLNG]\r\nLNG=0\r\n[SETWDTH]\r\nWDTH=32\r\n");
    sql("INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
        "ONE_ITEM, DEPARTMENT, INVENTARY) VALUES ('000000000101', 'KAFA', 120.5, 1, 0, 0, 0, 2, "
        "10), ('000000000102', 'SOK', 99, 1, 0, 0, 0, 2, 5.5), ('000000000103', 'BUREK', 180, 1, "
        "0, 0, 0, 0, 0)");

    const std::string r = run("", {"--fleet", home + "fleet.ini", "--jobs", "3", "--load",
                                   home + "cene.ini", "send", "departments", "articles"});
    std::string summary;
    for (int i = 1; i <= 7; ++i) {
        const std::string name = "[kasa" + std::to_string(i) + "] ";
        EXPECT_NE(r.find(name + "Odeljenja: OK\n" + name + "Artikli: OK\n"), std::string::npos)
            << r;
        summary += "kasa" + std::to_string(i) + ": OK\n";
    }
    // The dead line's messages, and the last of them in its summary line.
    const std::string errors = r.substr(r.rfind('|') + 1);
    EXPECT_TRUE(errors.starts_with("[kasa8] Arvon Cash Registers: Veza nije u redu!\n")) << r;
    const std::size_t last = errors.rfind("[kasa8] ", errors.size() - 2);
    summary += "kasa8: GRESKA " + errors.substr(last + 8, errors.size() - last - 9) +
               "\nUkupno kasa: 8, OK: 7, GRESKA: 1\n|" + errors;
    EXPECT_EQ(r.substr(0, 2), "1|");
    EXPECT_TRUE(r.ends_with(summary)) << r;

    // Every register read back into a folder of its own.
    const std::string backups =
        run("", {"--fleet", home + "fleet.ini", "backup", home + "b/{name}"});
    EXPECT_TRUE(backups.starts_with("1|")) << backups;
    EXPECT_NE(backups.find("\nUkupno kasa: 8, OK: 7, GRESKA: 1\n"), std::string::npos);
    Strings expected = {Stored("HLEB"), Stored("MLEKO"), Stored("PICE")};
    for (int n = 4; n <= 10; ++n) {
        expected.push_back(Stored("ODELJENJE " + std::to_string(n)));
    }
    std::string firstArticles;
    for (int i = 1; i <= 7; ++i) {
        const QString parent = QString::fromStdString(home + "b/kasa" + std::to_string(i));
        const QStringList made = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        ASSERT_EQ(made.size(), 1) << i;
        const std::string folder = "b/kasa" + std::to_string(i) + "/" + made[0].toStdString();
        EXPECT_EQ(names(folder + "/program.ini"), expected) << i;
        const std::string articles = ReadFile(home + folder + "/articles.csv");
        EXPECT_EQ(std::count(articles.begin(), articles.end(), '\n'), 4) << i;
        EXPECT_NE(articles.find("\r\n000000000101;\"KAFA"), std::string::npos) << i;
        EXPECT_EQ(articles, firstArticles.empty() ? articles : firstArticles) << i;
        firstArticles = articles;
    }
    EXPECT_FALSE(QDir(QString::fromStdString(home + "b/kasa8")).exists());
}

TEST_F(Qovctl, AFleetFileThatCannotBeUsed) {
    WriteFile(home + "empty.ini", "[ports]\r\ncom1=/dev/null\r\n");
    WriteFile(home + "two.ini", "[registers]\r\na=tcp://127.0.0.1:1\r\nb=tcp://127.0.0.1:1\r\n");
    const struct {
        Strings args;
        std::string expected;
    } cases[] = {
        {{"--fleet", home + "none.ini", "test-link"},
         "2||qovctl: the fleet file " + home + "none.ini cannot be read\n"},
        {{"--fleet", home + "empty.ini", "test-link"},
         "2||qovctl: no registers in [registers] of " + home + "empty.ini\n"},
        {{"--fleet", home + "two.ini", "--save", home + "out.ini", "receive", "departments"},
         "2||qovctl: --save in a fleet needs {name} in the file name\n"},
        {{"--fleet", home + "two.ini", "--jobs", "0", "test-link"},
         "2||qovctl: --jobs needs a positive whole number\n"},
    };
    for (const auto& c : cases) {
        const std::string r = run("", c.args);
        EXPECT_EQ(r.substr(0, std::min(r.size(), c.expected.size())), c.expected);
    }
}

}  // namespace
}  // namespace qov::test
