// qovctl's article table commands on a program folder: CSV import (all or nothing, or the good
// rows), export and the list lines, without a line to a register.
#include "qovctl_fixture.h"

namespace qov::test {
namespace {

class QovctlArticles : public Qovctl {
protected:
    QovctlArticles() {
        WriteFile(home + "QovCom.ini", ReadFile(home + "QovCom.ini") + "maxcena=99999\r\n");
    }
};

TEST_F(QovctlArticles, ImportExportAndListTheArticleTable) {
    const std::string header =
        "BAR_CODE;DESCRIPTION;PRICE;VAT_CODE;MES_TYPE;ART_TYPE;ONE_ITEM;DEPARTMENT;INVENTARY\r\n";
    WriteFile(home + "in.csv", header + "25;\"Sok; \"\"Jabuka\"\"\";45,5;1;0;2;1;3;12\r\n" +
                                   "12A;Hleb;60;1;0;0;0;0;1\r\n" +
                                   "7;Mleko;99.999;2;3;0;0;0;2.5\r\n");
    const std::string refused =
        "Arvon Cash Registers: Odbijeni redovi: 1 Red 3: Ne pravilan barkod !";
    EXPECT_EQ(run("", {"import-articles", home + "in.csv"}),
              "1||" + refused + " Nista nije uvezeno.\n");
    EXPECT_EQ(run("", {"list-articles"}), "0||");
    EXPECT_EQ(
        run("", {"--skip-invalid", "import-articles", home + "in.csv"}),
        "0||" + refused + "\nArvon Cash Registers: Uvezeno artikala: 2 (novih 2, izmenjenih 0).\n");
    EXPECT_EQ(run("", {"list-articles"}), "0|000000000007   Mleko" + std::string(23, ' ') +
                                              "\t 100\t2.5\n" + "000000000025   Sok; \"Jabuka\"" +
                                              std::string(15, ' ') + "\t 45.5\t12\n|");

    EXPECT_EQ(run("", {"export-articles", home + "out.csv"}),
              "0||Arvon Cash Registers: Izvezeno artikala: 2.\n");
    EXPECT_EQ(ReadFile(home + "out.csv"),
              header + "000000000007;Mleko;100;2;3;0;0;0;2.5\r\n" +
                  "000000000025;\"Sok; \"\"Jabuka\"\"\";45.5;1;0;2;1;3;12\r\n");
    // The received tables are empty until a receive; their export names the sales columns.
    EXPECT_EQ(run("", {"--sold", "list-articles"}), "0||");
    EXPECT_EQ(run("", {"--received", "export-articles", home + "rcv.csv"}).substr(0, 2), "0|");
    EXPECT_EQ(ReadFile(home + "rcv.csv"), header.substr(0, header.size() - 2) + ";TOTAL;QTY\r\n");
}

TEST_F(QovctlArticles, UsageOfTheArticleCommands) {
    const struct {
        Strings args;
        std::string error;
    } cases[] = {
        {{"import-articles"}, "import-articles needs one file"},
        {{"export-articles", "a.csv", "b.csv"}, "export-articles needs one file"},
        {{"list-articles", "sold"}, "list-articles takes no table"},
        {{"--received", "--sold", "list-articles"}, "--received and --sold exclude each other"},
        {{"--sold", "import-articles", "a.csv"}, "import-articles fills the article table only"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run("", c.args).substr(0, c.error.size() + 11), "2||qovctl: " + c.error);
    }
    EXPECT_EQ(run("", {"import-articles", home + "missing.csv"}),
              "1||Arvon Cash Registers: Datoteka ne moze da se procita: " + home + "missing.csv\n");
}

}  // namespace
}  // namespace qov::test
