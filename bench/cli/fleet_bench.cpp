// A chain's price change: departments and 1,000 articles sent by qovctl to one register, and to
// sixteen at once with --fleet --jobs 16. Each simulator answers 5 ms after every request, as a
// register behind a line would. The fleet's wall time is given as a multiple of one register's
// (the counter "x_one"; the target is at most 2).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

constexpr int kRegisters = 16;
constexpr int kArticles = 1000;

// Sixteen simulators, a program folder with 1,000 articles, a program file with the
// departments and the fleet file: made once for both cases.
struct Fleet {
    Fleet() {
        const std::string home = folder.path().toStdString() + "/";
        std::string fleet = "[registers]\n";
        for (int i = 0; i < kRegisters; ++i) {
            simulators.push_back(std::make_unique<QProcess>());
            const std::string address = qov::bench::StartSimulator(
                *simulators.back(), {"--reply-delay", "5", "--plu-capacity", "2000"});
            ready = ready && !address.empty();
            devices.push_back("tcp://" + address);
            fleet += "kasa" + std::to_string(i + 1) + "=" + devices.back() + "\n";
        }
        Write(home + "fleet.ini", fleet);
        Write(home + "QovCom.ini",
              "[database]\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\n");
        std::string program = "[QOVCOM]\nVERSION=QKRTNWZA480213\n[DEPARTMENTS]\n";
        for (int n = 1; n <= 10; ++n) {
            program +=
                "DESCRIPTION_" + std::to_string(n) + "=ODELJENJE " + std::to_string(n) + "\n";
        }
        program += "[SETPORT]\nPORT=1\nSPEED=57600\n[SETLNG]\nLNG=0\n[SETWDTH]\nWDTH=32\n";
        Write(home + "cene.ini", program);
        const QString db = QString::fromStdString(home + "QovCom.db");
        QProcess::execute("sqlite3", {"-bail", db, ".read '" QOV_SOURCE_DIR "/db/sqlite.sql'"});
        const std::string rows =
            "INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
            "ONE_ITEM, DEPARTMENT, INVENTARY) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
            "i + 1 FROM n WHERE i < " +
            std::to_string(kArticles) +
            ") SELECT printf('%012d', i), 'ARTIKAL ' || i, i % 1000 + 0.29, i % 9, i % 5, i % 8, "
            "0, i % 10, 0 FROM n";
        QProcess::execute("sqlite3", {"-bail", db, QString::fromStdString(rows)});
        base = {"--home", QString::fromStdString(home), "--load",
                QString::fromStdString(home + "cene.ini")};
        fleetFile = QString::fromStdString(home + "fleet.ini");
    }
    ~Fleet() {
        for (auto& s : simulators) {
            s->terminate();
            s->waitForFinished(5000);
        }
    }
    static void Write(const std::string& path, const std::string& text) {
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    // qovctl with `options`, then "send departments articles"; its wall time in seconds, or a
    // negative number when it failed.
    static double Run(const QStringList& options) {
        QProcess qovctl;
        QElapsedTimer clock;
        clock.start();
        qovctl.start(QOV_BIN_DIR "/qovctl",
                     options + QStringList{"send", "departments", "articles"});
        qovctl.waitForFinished(600000);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        return qovctl.exitStatus() == QProcess::NormalExit && qovctl.exitCode() == 0 ? seconds : -1;
    }

    QTemporaryDir folder;
    std::vector<std::unique_ptr<QProcess>> simulators;
    std::vector<std::string> devices;
    QStringList base;
    QString fleetFile;
    bool ready = true;
    double oneRegister = 0;
};

Fleet* gFleet = nullptr;

void OneRegister(benchmark::State& state) {
    for (auto _ : state) {
        const double s = Fleet::Run(
            gFleet->base + QStringList{"--device", QString::fromStdString(gFleet->devices[0])});
        if (!gFleet->ready || s < 0) {
            state.SkipWithError("qovctl or a simulator failed");
            return;
        }
        gFleet->oneRegister = s;
        state.SetIterationTime(s);
    }
}

void SixteenRegisters(benchmark::State& state) {
    for (auto _ : state) {
        const double s =
            Fleet::Run(gFleet->base + QStringList{"--fleet", gFleet->fleetFile, "--jobs", "16"});
        if (!gFleet->ready || s < 0) {
            state.SkipWithError("qovctl or a simulator failed");
            return;
        }
        state.SetIterationTime(s);
        if (gFleet->oneRegister > 0) {
            state.counters["x_one"] = s / gFleet->oneRegister;
        }
    }
}

BENCHMARK(OneRegister)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(SixteenRegisters)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

QOV_BENCHMARK_MAIN_WITH(Fleet, gFleet)
