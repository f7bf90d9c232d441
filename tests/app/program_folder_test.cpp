// The program folder: QOVCOM_HOME, else a portable copy beside the program, else the per-user
// folder set up at the first start; the schema script; the manual's pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/program_folder.h"
#include "app/settings.h"
#include "app/sql_database.h"
#include "support/test_environment.h"

namespace qov {
namespace {

bool Exists(const std::string& path) {
    return QFileInfo::exists(QString::fromUtf8(path.c_str()));
}

void MakeFolder(const std::string& path) {
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(path.c_str())));
}

class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolder find(const std::string& home = "") {
        return FindProgramFolder({home, bin, user, shared}, *db);
    }

    // The number of rows of `table` in the per-user database.
    std::string rows(const std::string& table) {
        db->open("Driver=SQLite;Database=" + user + kDatabaseFileName);
        auto result = db->query("SELECT count(*) AS n FROM " + table);
        result->next();
        const std::string n = result->value("n");
        db->close();
        return n;
    }

    std::string root = test::MakeTempFolder("qovfolder") + "/";
    std::string bin = root + "usr/bin/";
    std::string user = root + "home/.local/share/QovCom/";
    std::string shared = QOV_SOURCE_DIR "/";  // the source tree: db/sqlite.sql
    std::unique_ptr<Database> db = CreateSqlDatabase();
};

TEST_F(ProgramFolderTest, HomeVariableThenPortableCopyThenPerUserFolder) {
    MakeFolder(bin);
    const struct {
        const char* name;
        std::string home;
        bool iniBesideProgram;
        std::string path;
        FolderKind kind;
    } cases[] = {
        {"QOVCOM_HOME wins over a portable copy", root + "data", true, root + "data/",
         FolderKind::Home},
        {"QOVCOM_HOME already ending in a separator", root + "data/", false, root + "data/",
         FolderKind::Home},
        {"QovCom.ini beside the program", "", true, bin, FolderKind::Portable},
        {"an installed program", "", false, user, FolderKind::PerUser},
    };
    for (const auto& c : cases) {
        QDir(QString::fromUtf8(root.c_str()) + "home").removeRecursively();
        QFile::remove(QString::fromUtf8((bin + kSettingsFileName).c_str()));
        if (c.iniBesideProgram) {
            test::WriteFile(bin + kSettingsFileName, "[database]\n");
        }
        const ProgramFolder folder = find(c.home);
        EXPECT_EQ(folder.path, c.path) << c.name;
        EXPECT_EQ(folder.kind, c.kind) << c.name;
        EXPECT_EQ(folder.problem, "") << c.name;
        // Only the per-user folder is ever made.
        EXPECT_EQ(Exists(user), c.kind == FolderKind::PerUser) << c.name;
        EXPECT_FALSE(Exists(root + "data")) << c.name;
    }
}

TEST_F(ProgramFolderTest, FirstStartMakesTheSettingsAndTheDatabaseFromTheSchema) {
    ASSERT_EQ(find().problem, "");
    EXPECT_EQ(test::ReadFile(user + kSettingsFileName), DefaultSettingsText());
    for (const char* table : {"QOV_PLU", "QOV_PLU_RCV", "QOV_PLU_RCV_SOLD", "PORT"}) {
        EXPECT_EQ(rows(table), "0") << table;
    }
    EXPECT_FALSE(Exists(user + kDatabaseFileName + ".new"));

    SharedState state;
    LoadSettings(state, user);
    EXPECT_EQ(state.ConnectionString, "Driver=SQLite;Database=" + user + kDatabaseFileName);
    EXPECT_EQ(state.CyrillicFontName, "Helvetica Ciril");
}

TEST_F(ProgramFolderTest, LaterStartsLeaveTheSettingsAndTheDatabaseAlone) {
    ASSERT_EQ(find().problem, "");
    const std::string edited = "[database]\nconnectionstring=Driver=PostgreSQL;Database=qov\n";
    test::WriteFile(user + kSettingsFileName, edited);
    db->open("Driver=SQLite;Database=" + user + kDatabaseFileName);
    db->execute("INSERT INTO QOV_PLU (BAR_CODE) VALUES ('000000000001')");
    db->close();

    EXPECT_EQ(find().problem, "");
    EXPECT_EQ(test::ReadFile(user + kSettingsFileName), edited);
    EXPECT_EQ(rows("QOV_PLU"), "1");

    // A removed QovCom.ini comes back; the database and its articles stay.
    QFile::remove(QString::fromUtf8((user + kSettingsFileName).c_str()));
    EXPECT_EQ(find().problem, "");
    EXPECT_EQ(test::ReadFile(user + kSettingsFileName), DefaultSettingsText());
    EXPECT_EQ(rows("QOV_PLU"), "1");
}

TEST_F(ProgramFolderTest, AFailedFirstStartLeavesNothingHalfMade) {
    shared = root + "share/";
    MakeFolder(shared + "db");
    const std::string schema = shared + "db/sqlite.sql";
    const struct {
        const char* name;
        const char* script;  // nullptr: no schema file
        std::string problem;
    } cases[] = {
        {"no schema file", nullptr, "the schema " + schema + " cannot be read"},
        {"a schema of comments only", "-- nothing\n",
         "the schema " + schema + " holds no statement"},
        {"a statement the engine refuses", "CREATE TABLE A (X INTEGER);\nCREATE TABLE B (;\n",
         "the schema " + schema + " failed: "},
    };
    for (const auto& c : cases) {
        QFile::remove(QString::fromUtf8(schema.c_str()));
        if (c.script != nullptr) {
            test::WriteFile(schema, c.script);
        }
        const ProgramFolder folder = find();
        EXPECT_EQ(folder.problem.substr(0, c.problem.size()), c.problem) << c.name;
        EXPECT_FALSE(Exists(user + kSettingsFileName)) << c.name;
        EXPECT_FALSE(Exists(user + kDatabaseFileName)) << c.name;
        EXPECT_EQ(QDir(QString::fromUtf8(user.c_str())).entryList(QDir::Files), QStringList())
            << c.name;
    }
    // Once the schema is there, the next start sets the folder up.
    test::WriteFile(schema, "CREATE TABLE QOV_PLU (BAR_CODE VARCHAR(12));\n");
    EXPECT_EQ(find().problem, "");
    EXPECT_EQ(rows("QOV_PLU"), "0");
}

TEST(SqlScript, SplitsAtSemicolonsOutsideQuotesAndComments) {
    using Statements = std::vector<std::string>;
    const struct {
        const char* name;
        const char* script;
        Statements statements;
    } cases[] = {
        {"two statements",
         "CREATE TABLE A (X INT);\nCREATE TABLE B (Y INT);\n",
         {"CREATE TABLE A (X INT)", "CREATE TABLE B (Y INT)"}},
        {"comments, one with a semicolon",
         "-- one; two\nCREATE TABLE A (\n X INT -- x; y\n)",
         {"CREATE TABLE A (\n X INT \n)"}},
        {"a semicolon and dashes in quotes",
         "INSERT INTO A VALUES ('a;b--c');",
         {"INSERT INTO A VALUES ('a;b--c')"}},
        {"a doubled quote",
         "INSERT INTO A VALUES ('it''s; ok');SELECT 2",
         {"INSERT INTO A VALUES ('it''s; ok')", "SELECT 2"}},
        {"blank statements", " ;\n;; ", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitSqlScript(c.script), c.statements) << c.name;
    }
}

TEST(Manual, PagesAreFileAddressesOfInstalledPagesOnly) {
    const std::string shared = test::MakeTempFolder("qovshare") + "/Radna površina/";
    MakeFolder(shared + "manual");
    test::WriteFile(shared + "manual/index.html", "<html></html>");
    const QString encoded =
        QUrl::fromLocalFile(QString::fromUtf8(shared.c_str())).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(encoded.endsWith("/Radna%20povr%C5%A1ina/"));
    EXPECT_EQ(ManualPageUrl(shared, "index.html"), encoded.toStdString() + "manual/index.html");
    EXPECT_EQ(ManualPageUrl(shared, "search.html"), "");
    EXPECT_EQ(ManualPageUrl(shared + "manual/", "index.html"), "");
}

}  // namespace
}  // namespace qov
