// The core services besides the database: the settings file (IniFile's profile semantics,
// LoadSettings and its helpers), the per-user store, error reporting and the console dialogs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <tuple>

#include <sys/stat.h>

#include <filesystem>

#include "app/console_dialogs.h"
#include "app/file_check.h"
#include "app/run_error.h"
#include "app/settings.h"
#include "app/show_error.h"
#include "app/user_store.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using namespace test;  // MakeTempFolder, ReadFile, WriteFile

TEST(IniFile, ReadsOddFilesWithoutRegardToCase) {
    const std::string path = MakeTempFolder("ini") + "/odd.ini";
    WriteFile(path, "\xEF\xBB\xBF[Modem]\r\nATDT = \"ATDT\" \r\nempty=\n\x01\x02junk\xff\nlong=" +
                        std::string(300, 'x') + "\nnul=ab" + std::string(1, '\0') +
                        "cd\n; c=1\n[broken\nz=2\n=novalue\n[MODEM]\nlater=1\n");
    IniFile ini(path);
    // clang-format off
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"modem", "atdt", "ATDT"}, {"MODEM", "Empty", ""}, {"modem", "none", "-"},
        {"modem", "long", std::string(254, 'x')}, {"modem", "nul", "ab"}, {"broken", "z", "2"},
        {"other", "atdt", "-"}};
    // clang-format on
    for (const auto& [section, key, expected] : cases) {
        EXPECT_EQ(ini.getString(section, key, "-"), expected) << section << "/" << key;
    }
    EXPECT_TRUE(ini.hasKey("modem", "EMPTY") && !ini.hasKey("modem", "none"));
    // The key names of the first section of that name, in file order.
    EXPECT_EQ(ini.keyNames("modem"), (std::vector<std::string>{"ATDT", "empty", "long", "nul"}));
    const IniFile none(path + ".none");
    EXPECT_TRUE(!none.exists() && none.keyNames("a").empty() &&
                none.getString("a", "b", "d") == "d");
}

TEST(IniFile, WritesChangeOnlyTheirOwnLines) {
    const std::string folder = MakeTempFolder("ini"), path = folder + "/w.ini";
    WriteFile(path, "; settings\r\n[a]\r\nfirst = 1\r\nSecond=2\r\n\r\n[b]\r\nx=y\r\n");
    IniFile ini(path);
    ini.writeValue("A", "second", "22");
    ini.writeValue("a", "third", "3");
    ini.writeValue("c", "new", "v");
    EXPECT_EQ(ReadFile(path),
              "; settings\r\n[a]\r\nfirst = 1\r\nsecond=22\r\nthird=3\r\n\r\n"
              "[b]\r\nx=y\r\n[c]\r\nnew=v\r\n");
    WriteFile(path, "[a]\nk=1\n[b]\nk=2\nl=3\n[c]\nk=4\n");
    ini.writeValue("a", "k", "2");
    ini.deleteSection("B");
    EXPECT_EQ(ReadFile(path), "[a]\nk=2\n[c]\nk=4\n");
    EXPECT_EQ(ini.getString("b", "k", "none"), "none");
    // Batched writes reach the disk together, on save().
    ini.setString("c", "l", "5");
    ini.setString("d", "m", "6");
    EXPECT_EQ(ReadFile(path), "[a]\nk=2\n[c]\nk=4\n");
    ini.save();
    EXPECT_EQ(ReadFile(path), "[a]\nk=2\n[c]\nk=4\nl=5\n[d]\nm=6\n");
    // A byte-order mark stays: a second one, read as part of the first line, stays text.
    const std::string marks = "\xEF\xBB\xBF\xEF\xBB\xBF";
    WriteFile(path, marks + "[x\r\n");
    ini.writeValue("x", "k", "v");
    EXPECT_EQ(ReadFile(path), marks + "[x\r\n[x]\r\nk=v\r\n");
    EXPECT_EQ(IniFile(path).getString("x", "k", "-"), "v");
    // A value that ends with a CR keeps it, also where the file's lines end with LF alone.
    WriteFile(path, "[a]\nk=1\r\r");
    ini.writeValue("a", "m", "3");
    EXPECT_EQ(ReadFile(path), "[a]\nk=1\r\r\nm=3\n");
    EXPECT_EQ(IniFile(path).getRawString("a", "k", "-"), "1\r");
    try {
        IniFile(folder + "/no/such/folder/x.ini").save();
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const RunError& e) {
        EXPECT_EQ(std::to_string(e.number()) + " " + e.description(), "76 Path not found");
    }
}

// Runs of blank and comment lines are kept as they were, keys still go after the last line
// with text, and what is not a small regular file is neither read nor replaced.
TEST(IniFile, KeepsLongRunsAndRefusesWhatIsNotASmallFile) {
    const std::string folder = MakeTempFolder("ini"), path = folder + "/p.ini";
    const std::string blanks(300000, '\n');
    WriteFile(path, blanks + "[a]\n; note\n\n\nk=1\n; tail\n\n\n[b]\nx=2\n");
    IniFile ini(path);
    EXPECT_EQ(ini.getString("a", "k", "-") + ini.getString("b", "x", "-"), "12");
    ini.setString("A", "new", "3");
    ini.setString("b", "x", "4");
    ini.save();
    EXPECT_EQ(ReadFile(path), blanks + "[a]\n; note\n\n\nk=1\n; tail\nnew=3\n\n\n[b]\nx=4\n");

    const std::string fifo = folder + "/pipe.ini", big = folder + "/big.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteFile(big, "[a]\nk=1\n" + std::string(4 * 1024 * 1024, ';'));
    for (const auto& [file, why] :
         {std::pair{fifo, "not a regular file"}, std::pair{big, "larger than 4 MB"}}) {
        IniFile refused(file);
        EXPECT_EQ(refused.readProblem(), why);
        EXPECT_EQ(refused.getString("a", "k", "-"), "-");
        refused.setString("a", "k", "2");
        try {
            refused.save();
            ADD_FAILURE() << file << " replaced";
        } catch (const RunError& e) {
            EXPECT_EQ(e.description(), file + ": " + why);
        }
    }
    EXPECT_EQ(TextFileProblem(folder + "/none.ini"), "file not found");
    EXPECT_EQ(TextFileProblem(folder), "not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(std::filesystem::file_size(big), 4u * 1024 * 1024 + 8);
}

TEST(LoadSettings, ReadsEveryKeyWithSingleSpaceDefaultsAndTheCap) {
    const std::string home = MakeTempFolder("settings") + "/";
    WriteFile(home + "QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[modem]\r\natdt=ATDT\r\natdp=ATDP\r\natdisconnect=ATH0\r\n"
              "[application.rules]\r\nmaxcena=99999.99\r\nmaxcek=5000\r\nmaxkartica=7000x\r\n"
              "maxkes=abc\r\nfontcyrilic=Helvetica Ciril\r\nfontlatin=" +
                  std::string(400, 'F') + "\r\n");
    SharedState state;
    LoadSettings(state, home);
    EXPECT_EQ(state.ConnectionString, "Driver=SQLite;Database=" + home + "QovCom.db");
    EXPECT_EQ(state.ToneDialCommand + "|" + state.PulseDialCommand + "|" + state.DialCommand + "|" +
                  state.HangupCommand + "|" + state.CyrillicFontName + "|" + state.LatinFontName,
              "ATDT|ATDP|ATDP|ATH0|Helvetica Ciril|" + std::string(254, 'F'));
    EXPECT_EQ((std::vector<double>{state.MaxPrice, state.MaxCheque, state.MaxCard, state.MaxCash}),
              (std::vector<double>{99999.99, 5000, 7000, 0}));
    SharedState empty;
    LoadSettings(empty, MakeTempFolder("none") + "/");
    EXPECT_EQ(empty.ConnectionString + "|" + empty.ToneDialCommand + "|" + empty.HangupCommand +
                  "|" + empty.CyrillicFontName + "|" + empty.LatinFontName,
              " | | | | ");
    EXPECT_TRUE(empty.MaxPrice == 0 && empty.MaxCheque == 0 && empty.MaxCash == 0);
}

TEST(LeadingNumber, ReadsTheNumberATextStartsWith) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"12345.5", 12345.5}, {"  42abc", 42}, {"abc", 0}, {"", 0}, {"-3.25", -3.25}, {"1e3", 1000},
        {"1e", 1}, {".5", 0.5}, {"7,5", 7}, {"+8", 8}, {"-", 0}, {".", 0}};
    // clang-format on
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << '"' << text << '"';
    }
}

TEST(AppFolder, FollowsQovcomHomeAndExpandsOnlyTheExactToken) {
    const std::string home = MakeTempFolder("home");
    setenv("QOVCOM_HOME", home.c_str(), 1);
    EXPECT_EQ(ExpandAppPath("{app.path}\\a;{app.path}\\b"), home + "/a;" + home + "/b");
    unsetenv("QOVCOM_HOME");
    EXPECT_EQ(ExpandAppPath("{App.Path}\\a {app.path}/a", "/h/"), "{App.Path}\\a {app.path}/a");
}

// The test main points QSettings at a private folder, so this never touches a real user's store.
TEST(QtUserStore, KeepsValuesPerApplicationAndSection) {
    QtUserStore().set("QovCom", "Settings", "MainLeft", "2400");
    EXPECT_EQ(QtUserStore().get("QovCom", "Settings", "MainLeft", "1000"), "2400");
    EXPECT_EQ(QtUserStore().get("QovComProduct", "Settings", "MainLeft", "1000"), "1000");
    EXPECT_EQ(QtUserStore().get("QovCom", "system.io", "MainLeft", "1000"), "1000");
}

TEST(ShowError, DatabaseTextOrNumberAndDescriptionTitledWithTheSender) {
    const std::string unavailable =
        "Baza trenutno nije dostupna.\nMolimo Vas, proverite globalne "
        "parametre za pristup podacima.";
    // clang-format off
    const std::tuple<RunError, const char*, std::string, const char*, Icon> cases[] = {
        {RunError(RunError::kDatabaseUnavailable, "driver"), "frmMain.Form_Load()", unavailable,
         "Arvon Cash Registers(Sender:='frmMain.Form_Load()')", Icon::Exclamation},
        {RunError(3021, "No current record", "qov.hlp", 12), "frmPlu.x()",
         "3021 - No current record", "Arvon Cash Registers(Sender:='frmPlu.x()')", Icon::Critical},
        {RunError(-2147217865, "no such table"), "   ", "-2147217865 - no such table",
         "Arvon Cash Registers", Icon::Critical},
        {RunError(5, "Invalid procedure call"), "", "5 - Invalid procedure call",
         "Arvon Cash Registers", Icon::Critical}};
    // clang-format on
    for (const auto& [error, sender, text, title, icon] : cases) {
        test::ScriptedDialogs dialogs;
        ShowError(dialogs, error, sender);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.last().text, text);
        EXPECT_EQ(dialogs.last().title, title);
        EXPECT_TRUE(dialogs.last().icon == icon && dialogs.last().buttons == Buttons::Ok) << title;
        EXPECT_EQ(dialogs.last().helpFile + std::to_string(dialogs.last().helpContext),
                  error.helpFile() + std::to_string(error.helpContext()));  // qov.hlp 12 passed on
    }
}

TEST(ConsoleDialogs, PrintsOneLinePerBoxAndAnswersByPolicy) {
    std::ostringstream err;
    ConsoleDialogs dialogs(err, 1, false), yes(err, 0, true);
    EXPECT_EQ(dialogs.message("a\nb\n", kTitle, Icon::None, Buttons::RetryCancel), Answer::Retry);
    EXPECT_EQ(dialogs.message("c", "T", Icon::None, Buttons::RetryCancel), Answer::Cancel);
    EXPECT_EQ(dialogs.message("d", "T", Icon::None, Buttons::YesNo), Answer::No);
    EXPECT_EQ(yes.message("e", "T", Icon::None, Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(err.str(), "Arvon Cash Registers: a b\nT: c\nT: d\nT: e\n");
}

}  // namespace
}  // namespace qov
