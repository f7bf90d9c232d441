#include "support/test_environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace qov::test {

namespace {
std::vector<std::unique_ptr<QTemporaryDir>>& tempFolders() {
    static std::vector<std::unique_ptr<QTemporaryDir>> folders;
    return folders;
}
}  // namespace

void PrepareTestEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string runtime = MakeTempFolder("qovrt");
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string config = MakeTempFolder("qovcfg");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config));
}

std::string MakeTempFolder(const std::string& prefix) {
    auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/" +
                                               QString::fromStdString(prefix) + "-XXXXXX");
    std::string path = dir->path().toStdString();
    tempFolders().push_back(std::move(dir));
    return path;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string MakeTempDatabase() {
    const std::string file = MakeTempFolder("qovdb") + "/QovCom.db";
    QProcess::execute("sqlite3", {"-bail", QString::fromStdString(file),
                                  ".read '" QOV_SOURCE_DIR "/db/sqlite.sql'"});
    return "Driver=SQLite;Database=" + file;
}

}  // namespace qov::test
