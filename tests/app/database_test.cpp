// The database layer: the program's exact statements against both engines (SQLite in a
// temporary folder, and the PostgreSQL server named by QOV_TEST_PG, see
// scripts/pg-test-server.sh; without it the PostgreSQL cases skip, except under CI, where they
// fail), then the engine-independent pieces: dialect step, value writers, connection string.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <regex>
#include <sstream>
#include <string>

#include "app/database.h"
#include "app/run_error.h"
#include "app/sql_database.h"
#include "support/test_environment.h"

namespace qov {
namespace {

// The RunError an action throws; number 0 when it throws none.
template <typename Action>
RunError Thrown(Action action) {
    try {
        action();
    } catch (const RunError& e) {
        return e;
    }
    return RunError(0, "nothing thrown");
}

// The named columns (blank-separated) of every row of a query, "|" between columns and "\n"
// after each row.
std::string Query(Database& db, const std::string& sql, const std::string& columns) {
    std::string out;
    for (auto rows = db.query(sql); rows->next(); out += "\n") {
        std::istringstream names(columns);
        for (std::string name, gap; names >> name; gap = "|") {
            out += gap + rows->value(name);
        }
    }
    return out;
}

class DatabaseEngineTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (sqlite()) {
            const std::string folder = test::MakeTempFolder("qovdb");
            test::WriteFile(folder + "/QovCom.db", "");
            // Written as the settings file writes it: "{app.path}\QovCom.db" expanded.
            connection_ = "Driver=SQLite;Database=" + folder + "/\\QovCom.db";
            auto db = Open();
            std::istringstream schema(std::regex_replace(
                test::ReadFile(QOV_SOURCE_DIR "/db/sqlite.sql"), std::regex("--[^\n]*"), ""));
            for (std::string sql; std::getline(schema >> std::ws, sql, ';');) {
                db->execute(sql);
            }
            return;
        }
        const char* pg = std::getenv("QOV_TEST_PG");
        if (pg == nullptr || *pg == '\0') {
            const char* how = "QOV_TEST_PG is not set (see scripts/pg-test-server.sh)";
            if (std::getenv("CI") != nullptr) {
                FAIL() << how;
            }
            GTEST_SKIP() << how;
        }
        connection_ = pg;
        // Test cases run as parallel processes against one database: hold a lock for the
        // whole case, then start from empty tables.
        guard_ = Open();
        guard_->query("select pg_advisory_lock(730125)");
        for (const char* table : {"QOV_PLU", "QOV_PLU_RCV", "QOV_PLU_RCV_SOLD", "PORT"}) {
            guard_->execute(std::string("delete from ") + table);
        }
    }

    bool sqlite() const { return GetParam() == "SQLite"; }

    std::unique_ptr<Database> Open() {
        auto db = CreateSqlDatabase();
        db->open(connection_);
        return db;
    }

    std::string connection_;
    std::unique_ptr<Database> guard_;  // PostgreSQL: holds the lock until the case ends
};

// One statement of the program, executed; or a query and the rows it must give (see Query).
struct Step {
    Step(const char* statement) : sql(statement) {}
    Step(std::string statement) : sql(std::move(statement)) {}
    Step(std::string query, std::string names, std::string result)
        : sql(std::move(query)), columns(std::move(names)), rows(std::move(result)) {}
    std::string sql, columns, rows;
};

// The statements of start-up, the line and keyboard screens (PORT), the article editor, the
// receive and the sales views, in a working order, each on a connection of its own.
TEST_P(DatabaseEngineTest, ProgramStatementsRunUnchanged) {
    // clang-format off
    const std::string plu = "BAR_CODE DESCRIPTION PRICE VAT_CODE MES_TYPE ART_TYPE ONE_ITEM "
                            "DEPARTMENT INVENTARY MAX_VALUE";
    const std::string odd = "O'Brien's \\' '' \x80\xe8\xff %_;--";  // written by SqlText
    const std::string kafa = "KAFA" + std::string(24, ' '), pivo = "PIVO'S" + std::string(22, ' ');
    const std::string insert = "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE,MES_TYPE,"
                               "ART_TYPE, ONE_ITEM, DEPARTMENT, INVENTARY, BAR_CODE ) values (";
    const std::string received = " (DESCRIPTION,MES_TYPE, ART_TYPE, PRICE, MAX_VALUE, VAT_CODE, "
                                 "ONE_ITEM, DEPARTMENT, BAR_CODE, TOTAL, QTY, INVENTARY ) values (";
    const std::string copy =
        "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE, ONE_ITEM, DEPARTMENT, MES_TYPE, "
        "ART_TYPE, BAR_CODE,INVENTARY )SELECT QOV_PLU_RCV.DESCRIPTION, QOV_PLU_RCV.PRICE, "
        "QOV_PLU_RCV.VAT_CODE, QOV_PLU_RCV.ONE_ITEM, QOV_PLU_RCV.DEPARTMENT, QOV_PLU_RCV.MES_TYPE, "
        "QOV_PLU_RCV.ART_TYPE, QOV_PLU_RCV.BAR_CODE, QOV_PLU_RCV.INVENTARY FROM QOV_PLU_RCV;";
    const Step steps[] = {
        {"select * from port", "port", ""}, "delete * from port;",
        "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (3, '9600', 'ATDP', '   ');",
        {"select * from port", "qov port phonenm Tone", "9600|3|   |ATDP\n"},
        "delete * from port;",
        "INSERT INTO PORT (Port, Qov ,tone, phonenm) values ('8', '57600', 'ATDT', '011/123-456');",
        {"select * from port", "PORT QOV TONE PHONENM", "8|57600|ATDT|011/123-456\n"},
        insert + SqlText(odd) + ", 29, 8, 10, 7, 1, 9, 999999.999, '000000000100')",
        insert + "'HLEB', 45.5, 1, 0, 0, 0, 2, 12, '000000000025')",
        {"select * from QOV_PLU where BAR_CODE = '000000000025'", plu,
         "000000000025|HLEB|45.5|1|0|0|0|2|12|0\n"},
        {"select bar_code from QOV_PLU where bar_code = '000000000025';", "bar_code",
         "000000000025\n"},
        {"select bar_code from QOV_PLU where bar_code = '000000000026';", "BAR_CODE", ""},
        "UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = 'X''Y, T.PRICE = 5 WHERE  ', QOV_PLU.PRICE = "
        "12.5, QOV_PLU.INVENTARY = 0.25, QOV_PLU.MAX_VALUE = 0, QOV_PLU.VAT_CODE = 4, "
        "QOV_PLU.ONE_ITEM = 1, QOV_PLU.DEPARTMENT = 7, QOV_PLU.MES_TYPE= 6, QOV_PLU.ART_TYPE= 5, "
        "QOV_PLU.BAR_CODE = '000000000026' WHERE (((QOV_PLU.BAR_CODE)='000000000025'));",
        {"select * from QOV_PLU ORDER BY QOV_PLU.BAR_CODE", plu,
         "000000000026|X'Y, T.PRICE = 5 WHERE  |12.5|4|6|5|1|7|0.25|0\n"
         "000000000100|" + odd + "|29|8|10|7|1|9|999999.999|0\n"},
        "DELETE from QOV_PLU where BAR_CODE = '000000000026'",
        {"select * from QOV_PLU", "BAR_CODE", "000000000100\n"}, "delete from QOV_PLU_RCV",
        "INSERT INTO QOV_PLU_RCV" + received + "'" + kafa +
            "', 1, 2, 7.25, 0, 3, 1, 03, '000000004711', 12.5, 2.5, 0.01)",
        "INSERT INTO QOV_PLU_RCV" + received + "'" + std::string(28, ' ') +
            "', 0, 0, 0, 0, 0, 0, 00, '000000000000', 0, 0, 0)",
        "delete from QOV_PLU_RCV_SOLD",
        "INSERT INTO QOV_PLU_RCV_SOLD" + received + "'PIVO''S" + std::string(22, ' ') +
            "', 3, 4, 1.5, 0, 2, 0, 10, '000000000007', 3, 2, 1.125)",
        {"select * from QOV_PLU_RCV ORDER BY QOV_PLU_RCV.BAR_CODE", plu + " TOTAL QTY",
         "000000000000|" + std::string(28, ' ') + "|0|0|0|0|0|0|0|0|0|0\n"
         "000000004711|" + kafa + "|7.25|3|1|2|1|3|0.01|0|12.5|2.5\n"},
        {"select * from QOV_PLU_RCV_SOLD ORDER BY QOV_PLU_RCV_SOLD.BAR_CODE", plu + " TOTAL QTY",
         "000000000007|" + pivo + "|1.5|2|3|4|0|10|1.125|0|3|2\n"},
        {"select * from QOV_PLU_RCV_SOLD where BAR_CODE = '000000000007'", "qty DESCRIPTION",
         "2|" + pivo + "\n"},
        "Delete * from QOV_PLU; ", copy,
        {"select * from QOV_PLU ORDER BY QOV_PLU.BAR_CODE", plu,
         "000000000000|" + std::string(28, ' ') + "|0|0|0|0|0|0|0|0\n"
         "000000004711|" + kafa + "|7.25|3|1|2|1|3|0.01|0\n"},
        "Delete * from QOV_PLU; ",
        std::regex_replace(copy, std::regex("QOV_PLU_RCV"), "QOV_PLU_RCV_SOLD"),
        {"select * from QOV_PLU ORDER BY QOV_PLU.BAR_CODE", plu,
         "000000000007|" + pivo + "|1.5|2|3|4|0|10|1.125|0\n"},
        "delete from QOV_PLU_RCV", "delete from QOV_PLU_RCV_SOLD",
        {"select * from QOV_PLU_RCV", "BAR_CODE", ""},
        {"select * from QOV_PLU_RCV_SOLD", "BAR_CODE", ""},
    };
    // clang-format on
    for (const Step& step : steps) {
        SCOPED_TRACE(step.sql);
        if (step.columns.empty()) {
            Open()->execute(step.sql);
        } else {
            EXPECT_EQ(Query(*Open(), step.sql, step.columns), step.rows);
        }
    }
}

TEST_P(DatabaseEngineTest, FailuresAreRunErrorsAndChangeNothing) {
    auto db = Open();
    db->execute("INSERT INTO QOV_PLU (DESCRIPTION, BAR_CODE) values ('KEEP', '000000000001')");
    const std::pair<const char*, const char*> bad[] = {
        {"select * from NO_SUCH_TABLE", sqlite() ? "NO_SUCH_TABLE" : "no_such_table"},
        {"UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = 'X' WHERE (=));", "syntax error"}};
    for (const auto& [sql, text] : bad) {
        const RunError e = Thrown([&] { db->execute(sql); });
        EXPECT_EQ(e.number(), sqlite() ? 1 : kStatementFailed) << sql;  // 1: SQLITE_ERROR
        EXPECT_NE(e.description().find(text), std::string::npos) << e.description();
    }
    // A NUL inside a statement is refused, never cut short by the engine.
    const char withNul[] = "DELETE from QOV_PLU where BAR_CODE = 'x\0' or 1=1";
    EXPECT_EQ(Thrown([&] { db->execute(std::string(withNul, sizeof withNul - 1)); }).number(),
              kStatementFailed);

    auto rows = db->query("select * from QOV_PLU");
    EXPECT_THROW(rows->value("BAR_CODE"), RunError);  // before the first row
    ASSERT_TRUE(rows->next());
    EXPECT_THROW(rows->value("NO_COLUMN"), RunError);
    db->close();
    EXPECT_EQ(rows->value("bar_code"), "000000000001");  // read in full before the close
    EXPECT_EQ(Thrown([&] { db->execute("delete from QOV_PLU"); }).number(), kConnectionClosed);
    EXPECT_EQ(Query(*Open(), "select * from QOV_PLU", "DESCRIPTION"), "KEEP\n");

    const std::string folder = test::MakeTempFolder("qovdb-missing");
    test::WriteFile(folder + "/junk.db", std::string(4096, '\x5a'));
    const ConnectionSettings s = ParseConnectionString(connection_);
    const std::string pg = "Driver=PostgreSQL;Uid=" + s.user + ";Pwd=" + s.password + ";Server=";
    // clang-format off
    const std::string failing[] = {
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\QovCom.mdb", "",
        sqlite() ? "Driver=SQLite;Database=" + folder + "\\QovCom.db"
                 : pg + s.host + ";Port=1;Database=" + s.database,
        sqlite() ? "Driver=SQLite;Database=" + folder + "\\junk.db"
                 : pg + s.host + ";Port=" + std::to_string(s.port) + ";Database=no_such_database"};
    // clang-format on
    for (const auto& text : failing) {
        auto failed = CreateSqlDatabase();
        const RunError e = Thrown([&] { failed->open(text); });
        EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80004005u)) << text;
        EXPECT_TRUE(!e.description().empty() && !failed->isOpen()) << text;
    }
    EXPECT_FALSE(std::ifstream(folder + "/QovCom.db").good());  // no empty database left behind
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseEngineTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return info.param; });

TEST(SqlValues, QuotesDoubledNumbersWithAPointWhateverTheLocaleTruthOfYesNo) {
    EXPECT_EQ(SqlText("O'Brien '' \x80\xff"), "'O''Brien '''' \x80\xff'");
    // The C++ global locale writes a decimal comma; the writer must not care.
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale before = std::locale::global(std::locale(std::locale(), new Comma));
    // clang-format off
    const std::pair<double, const char*> numbers[] = {
        {45.5, "45.5"}, {3.0, "3"}, {0.29 * 100, "29"}, {0.1 + 0.2, "0.3"}, {-3.5, "-3.5"},
        {999999.999, "999999.999"}, {123456789.12, "123456789.12"}, {0.0000001, "0.0000001"},
        {1e20, "100000000000000000000"}, {-0.0, "0"}, {NAN, "0"}, {INFINITY, "0"}};
    // clang-format on
    for (const auto& [value, expected] : numbers) {
        EXPECT_EQ(SqlNumber(value), expected) << expected;
    }
    std::locale::global(before);
    EXPECT_TRUE(SqlTruth("-1") && SqlTruth(" True ") && !SqlTruth("0.0") && !SqlTruth(""));
}

}  // namespace
}  // namespace qov
