#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_environment.h"

namespace qov {
namespace {

using test::MakeTempFolder;
using test::WriteFile;

TEST(ExpandAppPath, ReplacesEveryExactCaseToken) {
    EXPECT_EQ(ExpandAppPath("Driver=SQLite;Database={app.path}\\QovCom.db", "/opt/q/"),
              "Driver=SQLite;Database=/opt/q/QovCom.db");
    EXPECT_EQ(ExpandAppPath("{app.path}\\a;{app.path}\\b", "/h/"), "/h/a;/h/b");
    EXPECT_EQ(ExpandAppPath("{App.Path}\\a", "/h/"), "{App.Path}\\a");
    EXPECT_EQ(ExpandAppPath("{app.path}/a", "/h/"), "{app.path}/a");
}

TEST(AppFolder, FollowsQovcomHomeAndEndsWithASeparator) {
    const std::string home = MakeTempFolder("home");
    setenv("QOVCOM_HOME", home.c_str(), 1);
    EXPECT_EQ(AppFolder(), home + "/");
    unsetenv("QOVCOM_HOME");
    const std::string exe = AppFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), '/');
}

TEST(VersionText, IsMajorMinorRevision) {
    const std::string v = VersionText();
    EXPECT_EQ(std::count(v.begin(), v.end(), '.'), 2) << v;
}

TEST(LeadingNumber, ReadsTheNumberATextStartsWith) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"12345.5", 12345.5}, {"  42abc", 42}, {"abc", 0}, {"", 0}, {" ", 0},
                 {"-3.25", -3.25},     {"1e3", 1000},   {"1e", 1},  {".5", 0.5}, {"7,5", 7},
                 {"+8", 8},            {"-", 0},        {".", 0}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(LoadSettings, ReadsEveryKeyIntoTheSharedState) {
    const std::string home = MakeTempFolder("settings");
    WriteFile(home + "/QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[modem]\r\natdt=ATDT\r\natdp=ATDP\r\natdisconnect=ATH0\r\n"
              "[application.rules]\r\nmaxcena=99999.99\r\nmaxcek=5000\r\nmaxkartica=7000x\r\n"
              "maxkes=abc\r\nfontcyrilic=Helvetica Ciril\r\nfontlatin=Courier New\r\n");
    SharedState state;
    auto settings = LoadSettings(state, home + "/");
    EXPECT_EQ(settings->path(), home + "/QovCom.ini");
    EXPECT_EQ(state.ConnectionString, "Driver=SQLite;Database=" + home + "/QovCom.db");
    EXPECT_EQ(state.ToneDialCommand, "ATDT");
    EXPECT_EQ(state.PulseDialCommand, "ATDP");
    EXPECT_EQ(state.DialCommand, "ATDP");
    EXPECT_EQ(state.HangupCommand, "ATH0");
    EXPECT_DOUBLE_EQ(state.MaxPrice, 99999.99);
    EXPECT_DOUBLE_EQ(state.MaxCheque, 5000);
    EXPECT_DOUBLE_EQ(state.MaxCard, 7000);
    EXPECT_DOUBLE_EQ(state.MaxCash, 0);
    EXPECT_EQ(state.CyrillicFontName, "Helvetica Ciril");
    EXPECT_EQ(state.LatinFontName, "Courier New");
}

TEST(LoadSettings, MissingFileGivesSingleSpacesAndZeros) {
    const std::string home = MakeTempFolder("nosettings");
    SharedState state;
    LoadSettings(state, home + "/");
    EXPECT_EQ(state.ConnectionString, " ");
    EXPECT_EQ(state.ToneDialCommand, " ");
    EXPECT_EQ(state.HangupCommand, " ");
    EXPECT_EQ(state.CyrillicFontName, " ");
    EXPECT_EQ(state.MaxPrice, 0);
    EXPECT_EQ(state.MaxCash, 0);
}

TEST(LoadSettings, ValuesAreCutTo254Characters) {
    const std::string home = MakeTempFolder("longsettings");
    WriteFile(home + "/QovCom.ini", "[application.rules]\nfontlatin=" + std::string(400, 'F') +
                                        "\nmaxcena=" + std::string(300, '9') + "\n");
    SharedState state;
    auto settings = LoadSettings(state, home + "/");
    EXPECT_EQ(state.LatinFontName, std::string(254, 'F'));
    EXPECT_EQ(ReadSetting(*settings, "application.rules", "fontlatin").size(), 254u);
    EXPECT_GT(state.MaxPrice, 1e250);
}

}  // namespace
}  // namespace qov
