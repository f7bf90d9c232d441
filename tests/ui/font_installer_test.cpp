// zlfontman: the font installer that the station starts on its first run.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "support/test_environment.h"

namespace qov {
namespace {

struct InstallerRun {
    int exitCode;
    std::string output;
};

InstallerRun RunInstaller(const QProcessEnvironment& env, const QStringList& args = {}) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QOV_BIN_DIR "/zlfontman", args);
    if (!process.waitForFinished(30000)) {
        return {-1, "did not finish"};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            (process.readAllStandardOutput() + process.readAllStandardError()).toStdString()};
}

class FontInstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempFolder("qovhome");
        program = test::MakeTempFolder("qovprog");
        env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", QString::fromStdString(home));
        env.remove("XDG_DATA_HOME");
        env.insert("QOVCOM_HOME", QString::fromStdString(program));
    }
    std::string home;
    std::string program;
    QProcessEnvironment env;
};

TEST_F(FontInstallerTest, InstallsTheProgramFoldersFontIntoTheUsersFontFolder) {
    test::WriteFile(program + "/HelveticaCiril.ttf", "font bytes");
    const InstallerRun run = RunInstaller(env);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(test::ReadFile(home + "/.local/share/fonts/HelveticaCiril.ttf"), "font bytes");

    // Installing again replaces the copy.
    test::WriteFile(program + "/HelveticaCiril.ttf", "newer font");
    EXPECT_EQ(RunInstaller(env).exitCode, 0);
    EXPECT_EQ(test::ReadFile(home + "/.local/share/fonts/HelveticaCiril.ttf"), "newer font");
}

TEST_F(FontInstallerTest, FollowsXdgDataHomeAndFallsBackToTheFontBesideTheProgram) {
    const std::string data = test::MakeTempFolder("qovdata");
    env.insert("XDG_DATA_HOME", QString::fromStdString(data));
    // Without fc-cache on the path the font is installed all the same.
    env.insert("PATH", "/nonexistent");
    const InstallerRun run = RunInstaller(env);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("font cache not refreshed"), std::string::npos);
    EXPECT_EQ(test::ReadFile(data + "/fonts/HelveticaCiril.ttf"),
              test::ReadFile(QOV_BIN_DIR "/HelveticaCiril.ttf"));
    EXPECT_FALSE(test::ReadFile(data + "/fonts/HelveticaCiril.ttf").empty());
}

TEST_F(FontInstallerTest, AMissingFontFailsAndInstallsNothing) {
    const InstallerRun run = RunInstaller(env, {QString::fromStdString(program + "/none.ttf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("not found"), std::string::npos);
    EXPECT_TRUE(test::ReadFile(home + "/.local/share/fonts/none.ttf").empty());
}

}  // namespace
}  // namespace qov
