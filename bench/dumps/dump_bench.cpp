// A whole fiscal memory (8192 blocks) and a whole program memory (16384 blocks) read through
// the dump screens' full read, against the register simulator over TCP loopback and the real
// link library: the dump file written, two yields a block. Wall time per dump, this process's
// CPU time, and the share of the time the same exchanges take on the wire at 57,600 bit/s.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <string>

#include "app/database.h"
#include "bench_support.h"
#include "dumps/memory_dump.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "simulator_station.h"

namespace {

using qov::bench::BenchDialogs;
using qov::bench::NoUserStore;
using qov::bench::ProcessCpuSeconds;
using qov::dumps::MemoryKind;

// One block on the wire, 10 bits a byte: the request frame (STX, LEN, SEQ, 7 text bytes, ETX,
// CRC: 17 bytes) and the reply (status byte and 36 text bytes: 47 bytes).
constexpr double kWireSecondsPerBlock = (17 + 47) * 10 / 57600.0;

struct Bench : qov::bench::SimulatorStation {
    Bench() : SimulatorStation({"--demo"}) { ready = open(); }
    bool ready = false;
};

Bench* gBench = nullptr;

void BM_WholeMemory(benchmark::State& state, MemoryKind kind) {
    if (gBench == nullptr || !gBench->ready) {
        state.SkipWithError("the line to qovreg does not open");
        return;
    }
    qov::dumps::MemoryDump dump(gBench->station, kind, gBench->folder.path().toStdString());
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        dump.sve();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += ProcessCpuSeconds() - start;
        if (!dump.outcome().complete()) {
            state.SkipWithError(("the dump ended with: " + dump.text()).c_str());
            break;
        }
    }
    const double runs = static_cast<double>(state.iterations());
    const double wire = dump.layout().blocks * kWireSecondsPerBlock;
    state.counters["wall_s_per_dump"] = runs > 0 ? wall / runs : 0;
    state.counters["cpu_s_per_dump"] = runs > 0 ? cpu / runs : 0;
    state.counters["wire_s_57600"] = wire;
    state.counters["share_of_wire_pct"] = runs > 0 ? 100 * wall / runs / wire : 0;
    state.counters["boxes"] = gBench->dialogs.boxes;
}
BENCHMARK_CAPTURE(BM_WholeMemory, Fiscal8192, MemoryKind::Fiscal)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_WholeMemory, Program16384, MemoryKind::Program)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

QOV_BENCHMARK_MAIN_WITH(Bench, gBench);
