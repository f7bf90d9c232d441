// Articles as CSV: each row checked by the editor's own rules, refused rows with their line
// numbers, all-or-nothing storing in one transaction, names from Cyrillic and Serbian Latin
// letters, and the export that an import reads back into the same table.
#include "articles/article_csv.h"
#include "article_fixture.h"
#include "tables/fields.h"

namespace qov::articles {
namespace {

using test::PluRow;
using Strings = std::vector<std::string>;

const std::string kHeader = std::string(kCsvHeader) + "\n";
const ImportRules kShortLines{18, 99999.99};
const ImportRules kLongLines{28, 99999.99};

const std::string kBadHeader =
    "Zaglavlje datoteke nije ispravno. Prvi red mora biti:\n" + std::string(kCsvHeader);

// A plan in one line: the file's error, or each refused row ("line: message; ") and the
// number of good rows.
std::string Outcome(const CsvImportPlan& plan) {
    std::string out = plan.fileError;
    for (const CsvRefusal& r : plan.refused) {
        out += std::to_string(r.line) + ": " + r.message + "; ";
    }
    return plan.fileError.empty() ? out + std::to_string(plan.rows.size()) + " ok" : out;
}

TEST(ArticleCsvPlan, RefusesRowsWithTheEditorsMessage) {
    const struct {
        const char* name;
        std::string row;
        std::string message;
        ImportRules rules = kShortLines;
    } cases[] = {
        {"wrong column count", "1;A;1;0;0;0;0;0", "Red ima 8 kolona umesto 9"},
        {"price not a number", "1;A;12kn;0;0;0;0;0;1", "Cena nije validna !"},
        {"stock not a number", "1;A;12;0;0;0;0;0;1 kom", "Lager nije validan !"},
        {"13-digit code", "5901234123457;A;1;0;0;0;0;0;1", "Ne pravilan bar kod!"},
        {"empty name", "1; ;1;0;0;0;0;0;1", "Unesite naziv !"},
        {"name of 19 letters", "1;" + std::string(19, 'A') + ";1;0;0;0;0;0;1",
         "Naziv je max 18 karaktera !"},
        {"name of 30 letters", "1;" + std::string(30, 'A') + ";1;0;0;0;0;0;1",
         "Naziv je max 18 karaktera !"},
        {"name of 30 letters, long lines, bad price",
         "1;" + std::string(30, 'A') + ";0;0;0;0;0;0;1",
         "Naziv je max 28 karaktera ! / Cena nije validna!", kLongLines},
        {"price 0", "1;A;0;0;0;0;0;0;1", "Cena nije validna!"},
        {"123.5 kg", "1;A;1;0;1;0;0;0;123.5", "Lager je max 6 karaktera !"},
        {"VAT 9", "1;A;1;9;0;0;0;0;1", "Neispravna vrednost u koloni VAT_CODE: \"9\" (0 do 8)"},
        {"letter outside Latin-1", "1;\xD0\x99OD;1;0;0;0;0;0;1",  // Й
         "Naziv sadrzi znak koji kasa ne moze da prikaze (U+0419)"},
        {"NUL in the name", std::string("1;A\0B;1;0;0;0;0;0;1", 19),
         "Naziv sadrzi znak koji kasa ne moze da prikaze (U+0000)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome(PlanArticleImport(kHeader + "1;OK;1;0;0;0;0;0;1\n" + c.row, c.rules)),
                  "3: " + c.message + "; 1 ok")
            << c.name;
    }
}

TEST(ArticleCsvPlan, ReadsRowsAsTheEditorStoresThem) {
    const std::string head =
        "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE,MES_TYPE,ART_TYPE, "
        "ONE_ITEM, DEPARTMENT, INVENTARY, BAR_CODE ) values (";
    const struct {
        const char* name;
        std::string row;
        std::string values;  // of the insert statement
        int renamed = 0;
    } cases[] = {
        {"decimal comma, kg", "7;KAFA;\"45,5\";1;1;7;1;9;\"0,25\"",
         "'KAFA', 45.5, 1, 1, 7, 1, 9, 0.25, '000000000007'"},
        {"halves to even, kom to whole", "8;A;2.675;0;0;0;TRUE;0;2.5",
         "'A', 2.68, 0, 0, 0, 1, 0, 2, '000000000008'"},
        {"quoted separator and quote", "9;\"A;B \"\"C\"\"\";1;0;0;0;0;0;1",
         "'A;B \"C\"', 1, 0, 0, 0, 0, 0, 1, '000000000009'"},
        {"Cyrillic letters",
         "10;\xD0\xA5\xD0\xBB\xD0\xB5\xD0\xB1 \xD0\x82\xD0\xB0\xD0\xBA;1;0;0;0;0;0;1",
         "'Hleb \\ak', 1, 0, 0, 0, 0, 0, 1, '000000000010'"},  // Хлеб Ђак
        {"Serbian Latin letters",
         "11;\xC5\xBD\xC4\x8D \xC4\x90\xC4\x86\xC5\xA1 \xC4\x91\xC5\xBE;1;0;0;0;0;0;1",
         "'Zc DjCs djz', 1, 0, 0, 0, 0, 0, 1, '000000000011'", 1},  // Žč ĐĆš đž
        {"Latin-1 letter", "12;Caf\xC3\xA9;1;0;0;0;0;0;1",
         "'Caf\xE9', 1, 0, 0, 0, 0, 0, 1, '000000000012'"},
    };
    for (const auto& c : cases) {
        const CsvImportPlan plan = PlanArticleImport(kHeader + c.row, kShortLines);
        ASSERT_EQ(Outcome(plan), "1 ok") << c.name;
        EXPECT_EQ(InsertStatement(plan.rows[0]), head + c.values + ")") << c.name;
        EXPECT_EQ(plan.renamed, c.renamed) << c.name;
    }
}

TEST(ArticleCsvPlan, ReadsTheFileAsSpreadsheetsWriteIt) {
    const std::string bom = "\xEF\xBB\xBF" + tables::ReplaceAll(kCsvHeader, ";", ",") + "\r\n";
    const struct {
        const char* name;
        std::string text, outcome;
    } cases[] = {
        {"byte-order mark, commas, CRLF, blank line",
         bom + "1,A,\"1,5\",0,0,0,0,0,1\r\n\r\n2,B,2,0,0,0,0,0,x\r\n",
         "4: Lager nije validan !; 1 ok"},
        {"line break inside a quoted name",
         kHeader + "1;\"A\r\nB\";1;0;0;0;0;0;1\n2;;1;0;0;0;0;0;1\n", "4: Unesite naziv !; 1 ok"},
        {"wrong header", "BAR_CODE;NAME;PRICE\n1;A;1\n", kBadHeader},
        {"not UTF-8", kHeader + "1;A;1;0;0;0;0;0;1\n2;Caf\xE9;1;0;0;0;0;0;1\n",
         "Datoteka nije zapisana u UTF-8 kodu (red 3). Sacuvajte je kao CSV UTF-8."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome(PlanArticleImport(c.text, kLongLines)), c.outcome) << c.name;
    }
}

// A table holding one article, code 1.
struct CsvTest : test::ArticleFixture {
    std::string folder = test::MakeTempFolder();
    const std::string kOld = "000000000001|OLD|1|2|1|3|1|4|1\n";
    CsvTest() { Sql({PluRow("000000000001", "OLD", "1", "1")}); }

    // Imports `rows` (after the header).
    bool Import(const std::string& rows, RefusedRows policy) {
        test::WriteFile(folder + "/in.csv", kHeader + rows);
        return ImportArticlesFile(station, folder + "/in.csv", policy, "frmPlu.Uvoz()");
    }
};

TEST_F(CsvTest, RefusedRowsFollowThePolicy) {
    const std::string rows = "1;NEW;2;0;0;0;0;0;3\n5;X;x;0;0;0;0;0;1\n7;S;1;0;0;0;0;0;1\n";
    const std::string report =
        "Arvon Cash Registers: Odbijeni redovi: 1\nRed 3: Cena nije validna !";
    const std::string done =
        "Arvon Cash Registers: Uvezeno artikala: 2 (novih 1, izmenjenih 1). <info>";
    const std::string stored = "000000000001|NEW|2|0|0|0|0|0|3\n000000000007|S|1|0|0|0|0|0|1\n";
    const struct {
        const char* name;
        RefusedRows policy;
        Answer answer;
        Strings boxes;
        std::string table;
    } cases[] = {
        {"none",
         RefusedRows::ImportNone,
         Answer::Ok,
         {report + "\nNista nije uvezeno. <critical>"},
         kOld},
        {"valid", RefusedRows::ImportValid, Answer::Ok, {report + " <exclamation>", done}, stored},
        {"ask, yes",
         RefusedRows::Ask,
         Answer::Yes,
         {report + "\n\nUvesti ispravne redove? <exclamation> [Yes/No]", done},
         stored},
        {"ask, no",
         RefusedRows::Ask,
         Answer::No,
         {report + "\n\nUvesti ispravne redove? <exclamation> [Yes/No]"},
         kOld},
    };
    for (const auto& c : cases) {
        Sql({"delete from QOV_PLU", PluRow("000000000001", "OLD", "1", "1")});
        dialogs.clear();
        dialogs.answer(c.answer);
        EXPECT_EQ(Import(rows, c.policy), c.table != kOld) << c.name;
        EXPECT_EQ(shown(), c.boxes) << c.name;
        EXPECT_EQ(Dump(), c.table) << c.name;
    }
}

TEST_F(CsvTest, SaysHowManyNamesLostTheirMarks) {
    EXPECT_TRUE(
        Import("2;\xC4\x8C"
               "esma;1;0;0;0;0;0;1\n3;\xC5\xA0"
               "ar;1;0;0;0;0;0;1\n4;Sir;1;0;0;0;0;0;1\n",
               RefusedRows::ImportNone));
    EXPECT_EQ(shown(), Strings{"Arvon Cash Registers: Uvezeno artikala: 3 (novih 3, izmenjenih 0)."
                               "\nNaziva napisanih bez kvacica (C C S Z Dj): 2. <info>"});
}

TEST_F(CsvTest, EmptyAndMissingFilesAreTold) {
    test::WriteFile(folder + "/empty.csv", "");
    EXPECT_FALSE(ImportArticlesFile(station, folder + "/empty.csv", RefusedRows::Ask, "s"));
    EXPECT_FALSE(ImportArticlesFile(station, folder + "/none.csv", RefusedRows::Ask, "s"));
    EXPECT_EQ(shown(), (Strings{"Arvon Cash Registers: Zaglavlje datoteke nije ispravno. Prvi red "
                                "mora biti:\n" +
                                    std::string(kCsvHeader) + " <critical>",
                                "Arvon Cash Registers: Datoteka ne moze da se procita: " + folder +
                                    "/none.csv <critical>"}));
}

TEST_F(CsvTest, ExportThenImportGivesTheSameTable) {
    Sql({PluRow("000000000000", "NULA", "1", "1"),
         PluRow("000000000003", "O''BRIEN; \"X\"", "45.5", "12.5"),
         PluRow("000000000004", "DVA\r\nREDA", "0.01", "0"),
         PluRow("000000000017", "@I`A ^{]}\\|", "99999.99", "99"),
         PluRow("000000000099", "Caf\xE9 \xFF", "7.25", "0.125")});
    const std::string before = Dump();
    ASSERT_TRUE(
        ExportArticlesFile(station, "QOV_PLU", false, folder + "/out.csv", "frmPlu.Izvoz()"));
    EXPECT_EQ(shown(), Strings{"Arvon Cash Registers: Izvezeno artikala: 6. <info>"});
    const std::string text = test::ReadFile(folder + "/out.csv");
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), std::string(kCsvHeader) + "\r\n");
    EXPECT_NE(text.find("\r\n000000000003;\"O'BRIEN; \"\"X\"\"\";45.5;2;1;3;1;4;12.5\r\n"),
              std::string::npos);
    EXPECT_NE(text.find(";Caf\xC3\xA9 \xC3\xBF;"), std::string::npos);
    Sql({"delete from QOV_PLU"});
    dialogs.clear();
    ASSERT_TRUE(
        ImportArticlesFile(station, folder + "/out.csv", RefusedRows::ImportNone, "frmPlu.Uvoz()"));
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(shown(),
              Strings{"Arvon Cash Registers: Uvezeno artikala: 6 (novih 6, izmenjenih 0). <info>"});
}

TEST_F(CsvTest, CyrillicExportWritesCyrillicLetters) {
    Sql({PluRow("000000000003", "HLEB \\AK", "1", "1")});
    ASSERT_TRUE(
        ExportArticlesFile(station, "QOV_PLU", true, folder + "/out.csv", "frmPlu.Izvoz()"));
    EXPECT_NE(
        test::ReadFile(folder + "/out.csv")
            .find("\r\n000000000003;\xD0\xA5\xD0\x9B\xD0\x95\xD0\x91 \xD0\x82\xD0\x90\xD0\x9A;1;"),
        std::string::npos);  // ХЛЕБ ЂАК
}

TEST_F(CsvTest, DatabaseFailuresLoseNothing) {
    const std::string rows = "1;NEW;2;0;0;0;0;0;3\n7;S;1;0;0;0;0;0;1\n";
    const std::string title = "Arvon Cash Registers(Sender:='frmPlu.Uvoz()')";
    // A statement failing inside the transaction: the rows stored before it go too.
    database.failAt = 3;  // the codes, the update of 1, the insert of 7
    EXPECT_FALSE(Import(rows, RefusedRows::ImportNone));
    EXPECT_EQ(Dump(), kOld);
    EXPECT_EQ(shown(), Strings{title + ": 1 - no such table: QOV_PLU <critical>"});

    // Another connection holds a write transaction.
    auto locker = CreateSqlDatabase();
    locker->open(state.ConnectionString);
    locker->begin();
    locker->execute(PluRow("000000000002", "TUDJI", "1", "1"));
    dialogs.clear();
    EXPECT_FALSE(Import(rows, RefusedRows::ImportNone));
    locker->rollback();
    EXPECT_EQ(shown(), Strings{title + ": 5 - database is locked <critical>"});
    EXPECT_EQ(Dump(), kOld);

    // A table without the expected columns.
    Sql({"drop table QOV_PLU", "create table QOV_PLU (BAR_CODE varchar(12), NAME varchar(28))"});
    dialogs.clear();
    test::WriteFile(folder + "/in.csv", kHeader + rows);
    EXPECT_FALSE(
        ImportArticlesFile(station, folder + "/in.csv", RefusedRows::ImportNone, "frmPlu.Uvoz()"));
    EXPECT_EQ(shown(),
              Strings{title + ": 1 - table QOV_PLU has no column named DESCRIPTION <critical>"});
    EXPECT_EQ(Dump(), "");
}

}  // namespace
}  // namespace qov::articles
