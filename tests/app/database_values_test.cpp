// The engine-independent pieces of the database layer: the dialect step, the value writers
// and the connection string.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "app/database.h"
#include "app/sql_database.h"
#include "app/sql_dialect.h"

namespace qov {
namespace {

struct DialectCase {
    const char* input;
    const char* expected;
};

TEST(SqlDialect, RewritesOnlyWhatTheEnginesRefuse) {
    const DialectCase cases[] = {
        // delete * from
        {"delete * from port;", "delete from port"},
        {"Delete * from QOV_PLU; ", "Delete from QOV_PLU"},
        {"DELETE   *   FROM QOV_PLU", "DELETE   FROM QOV_PLU"},
        {"delete QOV_PLU.* from QOV_PLU", "delete from QOV_PLU"},
        {"delete from QOV_PLU_RCV", "delete from QOV_PLU_RCV"},
        {"DELETE from QOV_PLU where BAR_CODE = '000000000025'",
         "DELETE from QOV_PLU where BAR_CODE = '000000000025'"},
        {"delete*from port", "delete from port"},
        {"delete * port", "delete * port"},  // not the pattern: left to the engine
        // qualified SET targets
        {"UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = 'A', QOV_PLU.PRICE = 1.5, "
         "QOV_PLU.MES_TYPE= 2, QOV_PLU.BAR_CODE = '000000000002' "
         "WHERE (((QOV_PLU.BAR_CODE)='000000000001'));",
         "UPDATE QOV_PLU SET DESCRIPTION = 'A', PRICE = 1.5, MES_TYPE= 2, "
         "BAR_CODE = '000000000002' WHERE (((QOV_PLU.BAR_CODE)='000000000001'))"},
        {"update t set t.a=1,t.b =2", "update t set a=1,b =2"},
        {"UPDATE t SET a = 1 WHERE t.b = 2", "UPDATE t SET a = 1 WHERE t.b = 2"},
        {"UPDATE t SET s.t.a = round(1, 2), b = 3", "UPDATE t SET a = round(1, 2), b = 3"},
        // literals are never touched
        {"UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = 'X, QOV_PLU.PRICE = 5 WHERE', "
         "QOV_PLU.PRICE = 2",
         "UPDATE QOV_PLU SET DESCRIPTION = 'X, QOV_PLU.PRICE = 5 WHERE', PRICE = 2"},
        {"UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = 'O''B, T.x = 1', QOV_PLU.VAT_CODE = 1",
         "UPDATE QOV_PLU SET DESCRIPTION = 'O''B, T.x = 1', VAT_CODE = 1"},
        {"select * from t where a = 'delete * from x;'",
         "select * from t where a = 'delete * from x;'"},
        {"select 'a;  '", "select 'a;  '"},
        {"select 'open;  ", "select 'open;  "},  // unterminated: left as it is
        {"SELECT 1 ;;  \r\n", "SELECT 1"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AdaptSqlForEngines(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(SqlDialect, KeepsBytesAbove127InLiterals) {
    const std::string sql = "UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = '\xe8\x9a\x80\xff' WHERE x=1";
    EXPECT_EQ(AdaptSqlForEngines(sql),
              "UPDATE QOV_PLU SET DESCRIPTION = '\xe8\x9a\x80\xff' WHERE x=1");
}

TEST(SqlValues, TextIsQuotedWithQuotesDoubled) {
    const DialectCase cases[] = {
        {"", "''"},           {"HLEB", "'HLEB'"}, {"O'Brien", "'O''Brien'"},
        {"''", "''''''"},     {"a\\b", "'a\\b'"}, {"\x80\xe8\xff", "'\x80\xe8\xff'"},
        {"  x  ", "'  x  '"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SqlText(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(SqlValues, NumbersAreShortestDecimalsWithAPoint) {
    struct NumberCase {
        double value;
        const char* expected;
    };
    const NumberCase cases[] = {
        {12.5, "12.5"},
        {3.0, "3"},
        {0.25, "0.25"},
        {45.5, "45.5"},
        {0.29 * 100, "29"},
        {725 / 100.0, "7.25"},
        {2500 / 1000.0, "2.5"},
        {0.1 + 0.2, "0.3"},
        {1250 / 100.0, "12.5"},
        {999999.999, "999999.999"},
        {123456789.12, "123456789.12"},
        {-3.5, "-3.5"},
        {0.0000001, "0.0000001"},
        {1e20, "100000000000000000000"},
        {0.0, "0"},
        {-0.0, "0"},
        {std::numeric_limits<double>::quiet_NaN(), "0"},
        {std::numeric_limits<double>::infinity(), "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SqlNumber(c.value), c.expected) << "value index " << (&c - cases);
    }
}

TEST(SqlValues, NumbersIgnoreTheProcessLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* names[] = {"sr_RS.UTF-8", "sr_RS@latin", "de_DE.UTF-8", "fr_FR.UTF-8"};
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            break;
        }
    }
    const std::string price = SqlNumber(45.5);
    const std::string stock = SqlNumber(1234567.125);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(price, "45.5");
    EXPECT_EQ(stock, "1234567.125");
}

TEST(SqlValues, TruthOfYesNoColumns) {
    const std::pair<const char*, bool> cases[] = {
        {"1", true},    {"-1", true},   {"0", false},     {"", false},   {"true", true},
        {"True", true}, {"t", true},    {"false", false}, {"f", false},  {" 1 ", true},
        {"2", true},    {"0.0", false}, {"yes", true},    {"no", false}, {"x", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(SqlTruth(text), expected) << "value: '" << text << "'";
    }
}

TEST(ConnectionString, SQLiteAsTheSettingsFileWritesIt) {
    const struct {
        const char* text;
        const char* path;
    } cases[] = {
        {"Driver=SQLite;Database=/opt/qov/\\QovCom.db", "/opt/qov/QovCom.db"},
        {"Driver=SQLite;Database=/opt/qov\\QovCom.db", "/opt/qov/QovCom.db"},
        {"driver=sqlite3; DATABASE = /a/b/c.db ;", "/a/b/c.db"},
        {"Driver={SQLite3 ODBC Driver};Data Source=/x\\y\\z.db", "/x/y/z.db"},
        {"DRIVER=QSQLITE;dbq=/tmp//q.db", "/tmp/q.db"},
    };
    for (const auto& c : cases) {
        const ConnectionSettings s = ParseConnectionString(c.text);
        EXPECT_EQ(s.engine, ConnectionSettings::Engine::kSQLite) << c.text;
        EXPECT_EQ(s.database, c.path) << c.text;
    }
}

TEST(ConnectionString, PostgreSQLKeysAndSynonyms) {
    ConnectionSettings s = ParseConnectionString(
        "Driver=PostgreSQL;Server=/run/pg;Port=5433;Database=qov;Uid=postgres;Pwd=");
    EXPECT_EQ(s.engine, ConnectionSettings::Engine::kPostgreSQL);
    EXPECT_EQ(s.host, "/run/pg");
    EXPECT_EQ(s.port, 5433);
    EXPECT_EQ(s.database, "qov");
    EXPECT_EQ(s.user, "postgres");
    EXPECT_EQ(s.password, "");

    s = ParseConnectionString(
        "driver=postgres;HOST=db.local;port=abc;DATABASE=Qov\\Name;USER=u;PASSWORD=p=q");
    EXPECT_EQ(s.engine, ConnectionSettings::Engine::kPostgreSQL);
    EXPECT_EQ(s.host, "db.local");
    EXPECT_EQ(s.port, 0);
    EXPECT_EQ(s.database, "Qov\\Name");  // only SQLite paths change separators
    EXPECT_EQ(s.user, "u");
    EXPECT_EQ(s.password, "p=q");
}

TEST(ConnectionString, UnknownOrMissingDriver) {
    const char* texts[] = {
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\qov\\QovCom.mdb",
        "Database=/tmp/x.db",
        "",
        " ",
        ";;;===;",
        "Driver=Oracle;Database=x",
    };
    for (const char* text : texts) {
        EXPECT_EQ(ParseConnectionString(text).engine, ConnectionSettings::Engine::kUnknown) << text;
    }
}

}  // namespace
}  // namespace qov
