// 10,000 articles sent ("PR", rows read from SQLite) and received (into QOV_PLU_RCV) against the
// register simulator over TCP loopback, through the real link library and the article loops,
// with a yield to the event loop after every article. The station's own time is the CPU time of
// this process (the simulator runs in its own). Each run is also given as a share of the time
// its bytes would take on a 57,600 bit/s line (10 bits a byte, frames with their 10 bytes of
// framing, requests and replies).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <ctime>
#include <memory>
#include <string>

#include "app/database.h"
#include "app/dialogs.h"
#include "app/user_store.h"
#include "articles/article_receive.h"
#include "articles/article_transmit.h"
#include "bench_support.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "simulator_station.h"

namespace {

constexpr int kArticles = 10000;
constexpr double kLineBitsPerSecond = 57600;
constexpr int kFraming = 10;                                     // STX, LEN, SEQ, ETX, CRC
constexpr int kSendBytes = 56 + kFraming + 1 + kFraming;         // "PR" frame, reply "A"
constexpr int kReceiveBytes = 6 + kFraming + 1 + 83 + kFraming;  // "PTNEXT", the article reply

using qov::bench::BenchDialogs;
using qov::bench::NoUserStore;
using qov::bench::ProcessCpuSeconds;

// The simulator, a database of 10,000 articles and a station on the real line: made once and
// shared by both benchmarks, the send first (it fills the register the receive reads).
struct Bench : qov::bench::SimulatorStation {
    Bench() : SimulatorStation({"--plu-capacity", QString::number(kArticles)}) {
        const QString file = folder.filePath("QovCom.db");
        QProcess::execute("sqlite3", {"-bail", file, ".read '" QOV_SOURCE_DIR "/db/sqlite.sql'"});
        const std::string rows =
            "INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
            "ONE_ITEM, DEPARTMENT, INVENTARY) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
            "i + 1 FROM n WHERE i < " +
            std::to_string(kArticles) +
            ") SELECT printf('%012d', i), 'ARTIKAL ' || i, i % 1000 + 0.29, i % 9, i % 10, i % 8, "
            "i % 2, i % 10, i % 500 + 0.125 FROM n";
        QProcess::execute("sqlite3", {"-bail", file, QString::fromStdString(rows)});
        shared.ConnectionString = "Driver=SQLite;Database=" + file.toStdString();
        link.setIdleHook([] { QCoreApplication::processEvents(); });
        ready = open();
    }

    qov::tables::TransferProgress progress;
    qov::tables::TransferContext ctx{station, progress, nullptr};
    bool ready = false;
};

Bench* gBench = nullptr;

void Run(benchmark::State& state, bool (*procedure)(qov::tables::TransferContext&),
         int bytesPerArticle) {
    if (gBench == nullptr || !gBench->ready) {
        state.SkipWithError("the line to qovreg does not open");
        return;
    }
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        const bool ok = procedure(gBench->ctx);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += ProcessCpuSeconds() - start;
        if (!ok || gBench->progress.done() != kArticles) {
            state.SkipWithError("the article transfer failed");
            break;
        }
    }
    const double runs = static_cast<double>(state.iterations());
    const double articles = runs * kArticles;
    const double wire = articles * bytesPerArticle * 10 / kLineBitsPerSecond;
    state.SetItemsProcessed(static_cast<int64_t>(articles));
    state.counters["wall_s_per_run"] = runs > 0 ? wall / runs : 0;
    state.counters["wire_s_per_run_57600"] = runs > 0 ? wire / runs : 0;
    state.counters["wall_share_of_wire_pct"] = wire > 0 ? 100 * wall / wire : 0;
    state.counters["cpu_per_article_us"] = articles > 0 ? cpu / articles * 1e6 : 0;
    state.counters["cpu_share_of_wire_pct"] = wire > 0 ? 100 * cpu / wire : 0;
    state.counters["boxes"] = gBench->dialogs.boxes;
}

void BM_SendArticles(benchmark::State& state) {
    Run(state, qov::articles::invia_plu, kSendBytes);
}
BENCHMARK(BM_SendArticles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_ReceiveArticles(benchmark::State& state) {
    Run(state, qov::articles::ricevi_plu, kReceiveBytes);
}
BENCHMARK(BM_ReceiveArticles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

QOV_BENCHMARK_MAIN_WITH(Bench, gBench);
