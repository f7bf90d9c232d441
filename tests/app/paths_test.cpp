// Paths are the file system's bytes from end to end: a program folder named in Serbian Latin
// with a blank in it holds the settings file and the database.
#include <gtest/gtest.h>

#include <QDir>

#include <cstdlib>

#include "app/database.h"
#include "app/ini_file.h"
#include "app/settings.h"
#include "app/sql_database.h"
#include "support/test_environment.h"

namespace qov {
namespace {

// A folder whose name needs more than ASCII (UTF-8 bytes, as the file system holds them).
std::string SerbianFolder() {
    const std::string folder = test::MakeTempFolder("qovpath") + "/Radna površina čćžđ ŠČĆŽĐ";
    EXPECT_TRUE(QDir().mkpath(QString::fromUtf8(folder.c_str())));
    return folder;
}

TEST(Paths, TheProgramFolderAndItsDatabaseKeepTheirLetters) {
    const std::string folder = SerbianFolder();
    ::setenv("QOVCOM_HOME", folder.c_str(), 1);
    const std::string app = AppFolder();
    ::unsetenv("QOVCOM_HOME");
    EXPECT_EQ(app, folder + "/");

    const std::string connection =
        ExpandAppPath("Driver=SQLite;Database={app.path}\\QovCom.db", app);
    EXPECT_EQ(ParseConnectionString(connection).database, folder + "/QovCom.db");
    test::WriteFile(folder + "/QovCom.db", "");
    auto db = CreateSqlDatabase();
    EXPECT_NO_THROW(db->open(connection));
    EXPECT_TRUE(db->isOpen());
    db->close();

    IniFile settings(app + "QovCom.ini");
    EXPECT_FALSE(settings.exists());
    settings.writeValue("database", "connectionstring", connection);
    EXPECT_TRUE(settings.exists());
    EXPECT_EQ(IniFile(folder + "/QovCom.ini").getString("database", "connectionstring", ""),
              connection);
}

TEST(Paths, RawValuesComeBackAsWrittenOthersTrimmed) {
    const std::string path = test::MakeTempFolder("qovraw") + "/raw.ini";
    test::WriteFile(path,
                    "[s]\r\nplain=  two blanks  \r\nquoted=\"  kept \"\r\nspaced =  \" x\"  "
                    "\r\nhalf=\"open\r\ninner=a \"b\" c\r\nempty=\r\n");
    const IniFile ini(path);
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"plain", "  two blanks  ", "two blanks"},
        {"quoted", "  kept ", "  kept "},
        {"spaced", " x", " x"},
        {"half", "\"open", "\"open"},
        {"inner", "a \"b\" c", "a \"b\" c"},
        {"empty", "", ""},
        {"missing", "-", "-"},
    };
    for (const auto& [key, raw, trimmed] : cases) {
        EXPECT_EQ(ini.getRawString("s", key, "-"), raw) << key;
        EXPECT_EQ(ini.getString("s", key, "-"), trimmed) << key;
    }
}

}  // namespace
}  // namespace qov
