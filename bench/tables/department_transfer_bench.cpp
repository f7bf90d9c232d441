// A full department send and receive (10 + 10 records) against the register simulator over
// TCP loopback, through the real link library, the station's record loops and a yield to the
// event loop after every record. The station's own time is the CPU time of this process (the
// simulator runs in its own process); "cpu_per_record" is that time per record.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>

#include <ctime>
#include <memory>
#include <string>

#include "app/database.h"
#include "app/dialogs.h"
#include "app/ini_file.h"
#include "app/user_store.h"
#include "bench_support.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "tables/departments.h"

namespace {

using qov::bench::BenchDialogs;
using qov::bench::NoUserStore;
using qov::bench::ProcessCpuSeconds;

void BM_DepartmentSendAndReceive(benchmark::State& state) {
    QProcess simulator;
    const std::string address = qov::bench::StartSimulator(simulator);
    if (address.empty()) {
        state.SkipWithError("qovreg did not start");
        return;
    }

    qov::SharedState shared;
    qov::FillDefaultTables(shared);
    BenchDialogs dialogs;
    qov::QovDllLink link;
    link.line().setPortDevice(1, "tcp://" + address);
    link.setIdleHook([] { QCoreApplication::processEvents(); });
    qov::LinkCalls calls(shared, link);
    auto database = qov::CreateSqlDatabase();
    NoUserStore userStore;
    qov::Station station{shared, dialogs, calls, *database, userStore};
    qov::tables::TransferProgress progress;
    qov::tables::TransferContext ctx{station, progress, nullptr};
    if (link.Init_RS232bd(1, 57600) != 0 || calls.testConnection() != 0) {
        state.SkipWithError("the line to qovreg does not open");
        return;
    }

    constexpr int kRecords = 2 * qov::tables::kDepartmentCount;
    double cpu = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        const bool sent = qov::tables::invia_rep(ctx);
        const bool received = qov::tables::ricevi_rep(ctx);
        cpu += ProcessCpuSeconds() - start;
        if (!sent || !received) {
            state.SkipWithError("a department transfer failed");
            break;
        }
    }
    link.Close_RS232();
    simulator.terminate();
    simulator.waitForFinished(5000);

    const double records = static_cast<double>(state.iterations()) * kRecords;
    state.SetItemsProcessed(static_cast<int64_t>(records));
    state.counters["cpu_per_record_us"] = records > 0 ? cpu / records * 1e6 : 0;
    state.counters["boxes"] = dialogs.boxes;
}
BENCHMARK(BM_DepartmentSendAndReceive)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

QOV_BENCHMARK_MAIN();
