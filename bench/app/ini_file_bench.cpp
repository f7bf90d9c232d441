// Loading a program file: a real one is a few hundred bytes and loads in microseconds; one just
// under the 4 MB cap, padded with blank lines or stuffed with keys, must still load in well
// under a second.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <fstream>
#include <iostream>
#include <string>

#include "app/console_dialogs.h"
#include "bench_support.h"
#include "progfile/program_file.h"

namespace {

constexpr std::size_t kPadding = 4u * 1024 * 1024 - 4096;

std::string ProgramFileText() {
    std::string text = "[QOVCOM]\r\nVERSION=" + std::string(qov::kProgramFileVersion) + "\r\n";
    text += "[DEPARTMENTS]\r\n";
    for (int row = 1; row <= 10; ++row) {
        text += "DESCRIPTION_" + std::to_string(row) + "=ODELJENJE " + std::to_string(row) + "\r\n";
    }
    return text +
           "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=False\r\n[SETWDTH]\r\nWDTH=32\r\n";
}

void LoadPadded(benchmark::State& state, const std::string& padding) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("padded.ini").toStdString();
    std::ofstream(path, std::ios::binary) << padding << ProgramFileText();
    qov::ConsoleDialogs dialogs(std::cerr, 0, false);
    for (auto _ : state) {
        qov::SharedState shared;
        shared.ProgramFilePath = path;
        if (!qov::LoadProgramFile(shared, dialogs)) {
            state.SkipWithError("not loaded");
        }
        benchmark::DoNotOptimize(shared.DepartmentTable[10].description);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(padding.size()));
}

// The usual file of a few hundred bytes: its load costs as little as its size.
void BM_ProgramFileAlone(benchmark::State& state) {
    LoadPadded(state, "");
}
BENCHMARK(BM_ProgramFileAlone)->Unit(benchmark::kMicrosecond);

void BM_ProgramFileAfterBlankLines(benchmark::State& state) {
    LoadPadded(state, std::string(kPadding, '\n'));
}
BENCHMARK(BM_ProgramFileAfterBlankLines)->Unit(benchmark::kMillisecond);

void BM_ProgramFileAfterManyKeys(benchmark::State& state) {
    std::string keys = "[PADDING]\r\n";
    for (int i = 0; keys.size() < kPadding; ++i) {
        keys += "K" + std::to_string(i) + "=1\r\n";
    }
    LoadPadded(state, keys);
}
BENCHMARK(BM_ProgramFileAfterManyKeys)->Unit(benchmark::kMillisecond);

}  // namespace

QOV_BENCHMARK_MAIN()
