// The simulator's own time per exchange: a request frame in, its reply frame out, through the
// line engine and the register model (no sockets). The target is under 50 microseconds.
// A last benchmark measures a whole round trip over loopback TCP against the real qovreg,
// kernel and scheduling included, for comparison.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "demo_shop.h"
#include "line_engine.h"
#include "qovdll/frame_codec.h"

extern char** environ;

namespace {

using qov::sim::LineEngine;
using qov::sim::RegisterModel;

// One exchange per iteration: a fresh SEQ each time, so nothing is answered from the store.
void exchange(benchmark::State& state, const std::string& request, bool demo) {
    RegisterModel model;
    if (demo)
        qov::sim::fillDemoShop(model);
    LineEngine engine(model, {});
    char seq = ' ';
    std::string out;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string frame = qovdll::encodeFrame(seq, request);
        const auto now = LineEngine::Clock::now();
        engine.receive(frame, now);
        out.clear();
        engine.takeDue(now, out);
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
        seq = qovdll::nextSeq(seq);
    }
    state.counters["reply_bytes"] =
        static_cast<double>(bytes) / static_cast<double>(state.iterations());
}

void BM_StatusRequest(benchmark::State& s) {
    exchange(s, "n", true);
}
void BM_DepartmentStore(benchmark::State& s) {
    exchange(s, "R03PICE        00000250", true);
}
void BM_ArticleProgram(benchmark::State& s) {
    exchange(s,
             "PR860000000001"
             "04"
             "SOK OD JABUKE 1L            "
             "00015900"
             "0021",
             true);
}
// PTNEXT through the demo shop's articles, PTFIRST again after the last one.
void BM_ArticleWalk(benchmark::State& state) {
    RegisterModel model;
    qov::sim::fillDemoShop(model);
    LineEngine engine(model, {});
    char seq = ' ';
    std::string out = "first";
    for (auto _ : state) {
        const char* request = out.size() < 20 ? "PTFIRST" : "PTNEXT";
        const auto now = LineEngine::Clock::now();
        engine.receive(qovdll::encodeFrame(seq, request), now);
        out.clear();
        engine.takeDue(now, out);
        benchmark::DoNotOptimize(out.data());
        seq = qovdll::nextSeq(seq);
    }
}
void BM_DisplayRead(benchmark::State& s) {
    exchange(s, "r", true);
}
void BM_FiscalBlock(benchmark::State& s) {
    exchange(s, "F000016", true);
}
void BM_ProgramBlock(benchmark::State& s) {
    exchange(s, "Y004096", true);
}

// A whole receipt line: open, sell, pay in cash, close; four exchanges per iteration.
void BM_ReceiptOfOneLine(benchmark::State& state) {
    RegisterModel model;
    qov::sim::fillDemoShop(model);
    model.memory().articles.at("860000000001").stock = 999999999;
    LineEngine engine(model, {});
    const std::string frames[] = {"p",
                                  "PS10860000000001"
                                  "00123456789123"
                                  "0011"
                                  "000001000"
                                  "00000000",
                                  "g10"
                                  "00000000000",
                                  "q"};
    char seq = ' ';
    std::string out;
    for (auto _ : state) {
        for (const auto& f : frames) {
            const auto now = LineEngine::Clock::now();
            engine.receive(qovdll::encodeFrame(seq, f), now);
            out.clear();
            engine.takeDue(now, out);
            seq = qovdll::nextSeq(seq);
        }
        if (model.memory().articles.at("860000000001").stock < 1000)
            model.memory().articles.at("860000000001").stock = 999999999;
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 4);
}

// A repetition answered from the stored reply.
void BM_Repetition(benchmark::State& state) {
    RegisterModel model;
    LineEngine engine(model, {});
    const std::string frame = qovdll::encodeFrame('A', "B05");
    std::string out;
    engine.receive(frame, LineEngine::Clock::now());
    for (auto _ : state) {
        const auto now = LineEngine::Clock::now();
        engine.receive(frame, now);
        out.clear();
        engine.takeDue(now, out);
        benchmark::DoNotOptimize(out.data());
    }
}

// Round trip through the kernel against the real program (not the simulator's own time).
void BM_LoopbackRoundTrip(benchmark::State& state) {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) {
        state.SkipWithError("pipe");
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFd[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFd[0]);
    const std::string program = QOV_BIN_DIR "/qovreg";
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--tcp"),
                    const_cast<char*>("127.0.0.1:0"), const_cast<char*>("--demo"), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        state.SkipWithError("cannot start qovreg");
        return;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFd[1]);
    std::string line;
    char c;
    while (read(pipeFd[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(pipeFd[0]);
    const int port = std::atoi(line.substr(line.rfind(':') + 1).c_str());
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        state.SkipWithError("cannot connect");
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return;
    }
    char seq = ' ';
    char buf[512];
    for (auto _ : state) {
        const std::string frame = qovdll::encodeFrame(seq, "n");
        (void)!write(fd, frame.data(), frame.size());
        std::size_t got = 0;
        while (got < 26) {  // STX LEN SEQ "A"+15 ETX CRC
            const ssize_t n = read(fd, buf + got, sizeof buf - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        seq = qovdll::nextSeq(seq);
    }
    close(fd);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace

BENCHMARK(BM_StatusRequest);
BENCHMARK(BM_DepartmentStore);
BENCHMARK(BM_ArticleProgram);
BENCHMARK(BM_ArticleWalk);
BENCHMARK(BM_DisplayRead);
BENCHMARK(BM_FiscalBlock);
BENCHMARK(BM_ProgramBlock);
BENCHMARK(BM_ReceiptOfOneLine);
BENCHMARK(BM_Repetition);
BENCHMARK(BM_LoopbackRoundTrip)->UseRealTime();

BENCHMARK_MAIN();
