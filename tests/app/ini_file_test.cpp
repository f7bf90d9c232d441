#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/run_error.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using test::MakeTempFolder;
using test::ReadFile;
using test::WriteFile;

class IniFileTest : public ::testing::Test {
protected:
    std::string folder = MakeTempFolder("ini");
    std::string path = folder + "/test.ini";
};

TEST_F(IniFileTest, ReadsValuesWithoutRegardToCaseAndWithDefaults) {
    WriteFile(path, "[Database]\r\nConnectionString = Driver=SQLite;Database=x.db \r\n"
                    "[modem]\r\natdt=\"ATDT\"\r\nempty=\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.getString("database", "connectionstring", " "), "Driver=SQLite;Database=x.db");
    EXPECT_EQ(ini.getString("MODEM", "ATDT", " "), "ATDT");
    EXPECT_EQ(ini.getString("modem", "empty", " "), "");
    EXPECT_EQ(ini.getString("modem", "missing", " "), " ");
    EXPECT_EQ(ini.getString("nosection", "atdt", "x"), "x");
    EXPECT_TRUE(ini.hasKey("modem", "empty"));
    EXPECT_FALSE(ini.hasKey("modem", "missing"));
}

TEST_F(IniFileTest, CutsValuesToTheBufferAndAtNul) {
    WriteFile(path, "[a]\nlong=" + std::string(300, 'x') + "\nnul=ab" + std::string(1, '\0') +
                        "cd\n");
    IniFile ini(path);
    EXPECT_EQ(ini.getString("a", "long", ""), std::string(254, 'x'));
    EXPECT_EQ(ini.getString("a", "nul", ""), "ab");
}

TEST_F(IniFileTest, ToleratesBomLineEndsAndJunk) {
    WriteFile(path, "\xEF\xBB\xBF[s]\nk=1\r\n\x01\x02garbage\xff\n[broken\nz=2\n=novalue\n");
    IniFile ini(path);
    EXPECT_EQ(ini.getString("s", "k", ""), "1");
    EXPECT_EQ(ini.getString("broken", "z", ""), "2");
    EXPECT_EQ(ini.keyNames("s"), (std::vector<std::string>{"k"}));
}

TEST_F(IniFileTest, MissingFileReadsAsEmpty) {
    IniFile ini(folder + "/none.ini");
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.getString("a", "b", "d"), "d");
    EXPECT_TRUE(ini.keyNames("a").empty());
}

TEST_F(IniFileTest, KeyNamesOfTheFirstSectionInFileOrder) {
    WriteFile(path, "[web1]\ncaption=A\nurl=u\n; comment=x\n[web2]\ncaption=B\n[WEB1]\nextra=1\n");
    IniFile ini(path);
    EXPECT_EQ(ini.keyNames("Web1"), (std::vector<std::string>{"caption", "url"}));
}

TEST_F(IniFileTest, WritingOneValueKeepsEveryOtherLine) {
    const std::string original =
        "; settings\r\n[a]\r\nfirst = 1\r\nSecond=2\r\n\r\n[b]\r\nx=y\r\n";
    WriteFile(path, original);
    IniFile ini(path);
    ini.writeValue("A", "second", "22");
    EXPECT_EQ(ReadFile(path), "; settings\r\n[a]\r\nfirst = 1\r\nsecond=22\r\n\r\n[b]\r\nx=y\r\n");

    ini.writeValue("a", "third", "3");
    EXPECT_EQ(ReadFile(path),
              "; settings\r\n[a]\r\nfirst = 1\r\nsecond=22\r\nthird=3\r\n\r\n[b]\r\nx=y\r\n");

    ini.writeValue("c", "new", "v");
    EXPECT_EQ(ReadFile(path), "; settings\r\n[a]\r\nfirst = 1\r\nsecond=22\r\nthird=3\r\n\r\n"
                              "[b]\r\nx=y\r\n[c]\r\nnew=v\r\n");
}

TEST_F(IniFileTest, KeepsLfLineEnds) {
    WriteFile(path, "[a]\nk=1\n");
    IniFile ini(path);
    ini.writeValue("a", "k", "2");
    EXPECT_EQ(ReadFile(path), "[a]\nk=2\n");
}

TEST_F(IniFileTest, DeletesASectionWithItsKeys) {
    WriteFile(path, "[a]\nk=1\n[b]\nk=2\nl=3\n[c]\nk=4\n");
    IniFile ini(path);
    ini.deleteSection("B");
    EXPECT_EQ(ReadFile(path), "[a]\nk=1\n[c]\nk=4\n");
    EXPECT_EQ(ini.getString("b", "k", "none"), "none");
}

TEST_F(IniFileTest, BatchedWritesLandTogetherAndReplaceTheFileWhole) {
    WriteFile(path, "[keep]\nunknown=stays\n");
    IniFile ini(path);
    ini.setString("a", "k1", "v1");
    ini.setString("a", "k2", "v2");
    EXPECT_EQ(ReadFile(path), "[keep]\nunknown=stays\n");  // nothing on disk before save()
    ini.save();
    EXPECT_EQ(ReadFile(path), "[keep]\nunknown=stays\n[a]\nk1=v1\nk2=v2\n");
}

TEST_F(IniFileTest, SavingIntoAMissingFolderFailsWithPathNotFound) {
    IniFile ini(folder + "/no/such/folder/x.ini");
    ini.setString("a", "b", "c");
    try {
        ini.save();
        FAIL() << "save into a missing folder succeeded";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), RunError::kPathNotFound);
        EXPECT_EQ(e.description(), "Path not found");
    }
}

}  // namespace
}  // namespace qov
