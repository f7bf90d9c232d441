#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "app/database.h"
#include "app/dialogs.h"
#include "app/user_store.h"

namespace qov::bench {

// A fresh embedded database in `folder`, made from the schema file; returns its connection
// string, written as the settings file writes it.
inline std::string MakeBenchDatabase(const QTemporaryDir& folder) {
    const std::string path = folder.path().toStdString() + "/QovCom.db";
    std::ofstream(path, std::ios::binary).flush();
    const std::string connection =
        "Driver=SQLite;Database=" + folder.path().toStdString() + "\\QovCom.db";
    std::ifstream in(QOV_SOURCE_DIR "/db/sqlite.sql");
    std::string text;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("--", 0) != 0) {
            text += line + "\n";
        }
    }
    auto db = CreateSqlDatabase();
    db->open(connection);
    std::stringstream parts(text);
    for (std::string statement; std::getline(parts, statement, ';');) {
        if (statement.find_first_not_of(" \r\n\t") != std::string::npos) {
            db->execute(statement);
        }
    }
    db->close();
    return connection;
}

// Dialogs of a station at work: no box is expected (they are counted); a refused or lost
// record is tried again; yield lets the event loop run.
class BenchDialogs : public Dialogs {
public:
    Answer show(const MessageBox& box) override {
        ++boxes;
        return box.buttons == Buttons::RetryCancel ? Answer::Retry : Answer::Ok;
    }
    std::string openFile(const FileDialog&) override { return {}; }
    std::string saveFile(const FileDialog&) override { return {}; }
    void setBusy(bool) override {}
    void yield() override { QCoreApplication::processEvents(); }
    int boxes = 0;
};

// A per-user store that keeps nothing.
class NoUserStore : public UserStore {
public:
    std::string get(const std::string&, const std::string&, const std::string&,
                    const std::string& defaultValue) const override {
        return defaultValue;
    }
    void set(const std::string&, const std::string&, const std::string&,
             const std::string&) override {}
};

// The CPU time this process has used, in seconds.
inline double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Starts qovreg on a free loopback port with `options`; returns "HOST:PORT", or empty text
// when it did not start.
inline std::string StartSimulator(QProcess& simulator, const QStringList& options = {}) {
    simulator.start(QString(QOV_BIN_DIR) + "/qovreg",
                    QStringList{"--tcp", "127.0.0.1:0"} + options);
    const std::string marker = "qovreg listening on ";
    while (simulator.waitForReadyRead(5000)) {
        const std::string line = simulator.readLine().trimmed().toStdString();
        if (line.rfind(marker, 0) == 0) {
            return line.substr(marker.size());
        }
    }
    return {};
}

}  // namespace qov::bench

// The main of a benchmark program: Qt's core application around Google Benchmark's run.
#define QOV_BENCHMARK_MAIN()                                      \
    int main(int argc, char** argv) {                             \
        QCoreApplication app(argc, argv);                         \
        benchmark::Initialize(&argc, argv);                       \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) { \
            return 1;                                             \
        }                                                         \
        benchmark::RunSpecifiedBenchmarks();                      \
        benchmark::Shutdown();                                    \
        return 0;                                                 \
    }

// The main of a benchmark program whose cases share one set-up made once Qt runs: an object of
// `Type` lives for the run, and `global` points at it while the cases run.
#define QOV_BENCHMARK_MAIN_WITH(Type, global)                     \
    int main(int argc, char** argv) {                             \
        QCoreApplication app(argc, argv);                         \
        benchmark::Initialize(&argc, argv);                       \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) { \
            return 1;                                             \
        }                                                         \
        Type shared;                                              \
        global = &shared;                                         \
        benchmark::RunSpecifiedBenchmarks();                      \
        benchmark::Shutdown();                                    \
        global = nullptr;                                         \
        return 0;                                                 \
    }
