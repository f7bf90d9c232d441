// One receipt of 10 sale lines and 3 payments (cheque, card, cash) through the fiscal screen's
// receipt procedure, against the register simulator over TCP loopback and the real link
// library: about 40 exchanges a receipt. Wall time per receipt and this process's CPU time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>

#include <chrono>
#include <string>

#include "app/database.h"
#include "bench_support.h"
#include "fiscal/fiscal_form.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "simulator_station.h"

namespace {

using qov::bench::BenchDialogs;
using qov::bench::NoUserStore;
using qov::bench::ProcessCpuSeconds;

struct Bench : qov::bench::SimulatorStation {
    Bench() : SimulatorStation({"--demo"}) {
        shared.MaxCheque = shared.MaxCard = shared.MaxCash = 100000;
        ready = open();
        for (int i = 0; i < qov::fiscal::FiscalForm::kLines; ++i) {
            form.Artikal[static_cast<std::size_t>(i)] = "8600000000" + std::to_string(10 + i);
            form.Kolicina[static_cast<std::size_t>(i)] = "0.001";
        }
        form.Cek = "0.01";
        form.Kartica = "0.01";
        form.Gotovina = "1000";
    }

    qov::fiscal::FiscalForm form{station};
    bool ready = false;
};

Bench* gBench = nullptr;

void BM_Receipt10Lines3Payments(benchmark::State& state) {
    if (gBench == nullptr || !gBench->ready) {
        state.SkipWithError("the line to qovreg does not open");
        return;
    }
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        const int code = gBench->form.racunOut();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += ProcessCpuSeconds() - start;
        if (code != 0) {
            state.SkipWithError(("the receipt failed with code " + std::to_string(code)).c_str());
            break;
        }
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["wall_ms_per_receipt"] = runs > 0 ? 1000 * wall / runs : 0;
    state.counters["cpu_ms_per_receipt"] = runs > 0 ? 1000 * cpu / runs : 0;
    state.counters["boxes"] = gBench->dialogs.boxes;
}
BENCHMARK(BM_Receipt10Lines3Payments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(200);

}  // namespace

QOV_BENCHMARK_MAIN_WITH(Bench, gBench);
