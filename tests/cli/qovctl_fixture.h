// qovctl against the register simulator: a program folder with its settings file and the
// embedded database, the simulator as a child process, qovctl runs with their outcome.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>

#include <string>
#include <vector>

#include "support/test_environment.h"

namespace qov::test {

using Strings = std::vector<std::string>;

inline QStringList Args(const Strings& args) {
    QStringList list;
    for (const std::string& a : args) {
        list << QString::fromStdString(a);
    }
    return list;
}

// The register simulator, ended when the test is done with it.
struct Simulator : QProcess {
    ~Simulator() override {
        terminate();
        waitForFinished(5000);
    }
};

// Starts the simulator (its arguments say where); gives what --device takes to reach it.
inline std::string Start(Simulator& sim, const Strings& args) {
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QOV_BIN_DIR "/qovreg", Args(args));
    while (sim.waitForReadyRead(10000)) {
        while (sim.canReadLine()) {
            const QString line = QString::fromUtf8(sim.readLine()).trimmed();
            if (line.startsWith("qovreg listening on ")) {
                return (args[0] == "--tcp" ? "tcp://" : "") + line.mid(20).toStdString();
            }
        }
    }
    return "qovreg did not start";
}

// A program folder with its settings file and the embedded database.
class Qovctl : public ::testing::Test {
protected:
    Qovctl() {
        WriteFile(
            home + "QovCom.ini",
            "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
            "[application.rules]\r\nfontcyrilic=Helvetica Ciril\r\nfontlatin=Courier New\r\n");
        sql(".read '" QOV_SOURCE_DIR "/db/sqlite.sql'");
    }
    void sql(const std::string& statement) {
        QProcess sqlite;
        sqlite.start("sqlite3", Args({"-bail", home + "QovCom.db", statement}));
        ASSERT_TRUE(sqlite.waitForFinished(20000) && sqlite.exitCode() == 0);
    }
    // qovctl on this folder: "EXIT|STDOUT|STDERR".
    // `input` goes to its standard input.
    std::string run(const std::string& device, const Strings& args, const std::string& input = {}) {
        QProcess p;
        const Strings line = device.empty() ? Strings{} : Strings{"--device", device};
        p.start(QOV_BIN_DIR "/qovctl", Args({"--home", home}) + Args(line) + Args(args));
        p.write(input.data(), static_cast<qint64>(input.size()));
        p.closeWriteChannel();
        if (!p.waitForFinished(60000)) {
            return "did not run to its end";  // killed as the process object goes
        }
        return (p.exitStatus() == QProcess::NormalExit ? std::to_string(p.exitCode()) : "crash") +
               "|" + p.readAllStandardOutput().toStdString() + "|" +
               p.readAllStandardError().toStdString();
    }
    // The department names of a program file as written, blanks kept: the first ten
    // descriptions, as the departments' section comes first.
    Strings names(const std::string& file) {
        Strings found;
        for (const QString& line : QString::fromLatin1(ReadFile(home + file)).split("\r\n")) {
            if (line.startsWith("DESCRIPTION_") && found.size() < 10) {
                found.push_back(line.section('=', 1).toLatin1().toStdString());
            }
        }
        return found;
    }
    const std::string home = MakeTempFolder("qovctl") + "/";
};

}  // namespace qov::test
