// qovreg's state file and frame log under bad input: refused at the start with exit status 1,
// write failures said once on stderr, the state file never left half written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include "qovdll/line.h"
#include "state_file.h"
#include "support/test_environment.h"

namespace {

using namespace std::chrono_literals;

struct Outcome {
    int exit = -1;  // -1: crashed or still running
    std::string err;
};

// A qovreg run to its end: one that starts is stopped with SIGTERM after `traffic` ran
// against it over the line. limit > 0 caps the size of every file it writes (a full disk).
Outcome RunQovreg(QStringList args, const std::function<void(qovdll::Line&)>& traffic = {},
                  rlim_t limit = 0) {
    QProcess p;
    if (limit > 0) {
        p.setChildProcessModifier([limit] {
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            ::signal(SIGXFSZ, SIG_IGN);  // a write over the limit fails instead of killing
        });
    }
    p.start(QStringLiteral(QOV_BIN_DIR "/qovreg"), args << "--tcp"
                                                        << "127.0.0.1:0");
    while (!p.canReadLine() && p.waitForReadyRead(5000)) {
    }
    const std::string ready = p.readLine().trimmed().toStdString();
    if (ready.starts_with("qovreg listening on ")) {
        qovdll::Line line;
        line.setTimings({{200, 250, 100, 20, 3}, {200, 250, 100, 0, 3}, 3000, 3000});
        line.setPortDevice(1, "tcp://" + ready.substr(20));
        EXPECT_EQ(line.Init_RS232bd(1, 9600), 0);
        if (traffic)
            traffic(line);
        line.Close_RS232();
        p.terminate();
    }
    p.waitForFinished(5000);
    Outcome out;
    out.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    out.err = p.readAllStandardError().toStdString();
    return out;
}

// "PR" frame of article i, stock and sales kept.
std::string Article(int i) {
    const std::string code = std::to_string(100000000000LL + i);
    return "PR" + code + "01" + std::string(28, 'A') + "00000100" + "0111";
}

TEST(QovregFiles, AStateFileThatCannotBeReadOrWrittenStopsTheStart) {
    QTemporaryDir dir;
    const QString big = dir.filePath("big.json"), full = dir.filePath("full.json");
    qov::test::WriteFile(big.toStdString(), "{}" + std::string(4 * 1024 * 1024, ' '));
    qov::test::WriteFile(full.toStdString(),
                         R"({"articles": [{"code": "000000000001"}, {"code": "000000000002"}]})");
    const std::pair<QStringList, std::string> cases[] = {
        {{"--state", "/dev/zero"}, "cannot load /dev/zero: not a regular file"},
        {{"--state", big},
         "cannot load " + big.toStdString() + ": larger than 4 MB (4194306 bytes)"},
        {{"--state", full, "--plu-capacity", "1"},
         "cannot load " + full.toStdString() + ": 2 articles, more than the 1 of --plu-capacity"},
        {{"--state", dir.filePath("none/reg.json")},
         "cannot write " + dir.filePath("none/reg.json").toStdString() + ": "},
    };
    for (const auto& [args, message] : cases) {
        const Outcome out = RunQovreg(args);
        EXPECT_EQ(out.exit, 1) << message;
        EXPECT_EQ(out.err.substr(0, 8 + message.size()), "qovreg: " + message);
        EXPECT_EQ(std::count(out.err.begin(), out.err.end(), '\n'), 1) << out.err;
    }
    // refused files are left as they were
    EXPECT_EQ(QFileInfo(big).size(), 4 * 1024 * 1024 + 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

// A disk that fills up while the simulator runs: said once, the file keeps the last memory
// written whole, and the exit status tells that the last changes were lost.
TEST(QovregFiles, AFullDiskIsSaidOnceAndTheStateFileStaysWhole) {
    QTemporaryDir dir;
    const std::string state = dir.filePath("reg.json").toStdString();
    qov::sim::Memory empty;
    const auto limit = static_cast<rlim_t>(qov::sim::memoryToJson(empty).size() + 700);
    const Outcome out = RunQovreg(
        {"--state", QString::fromStdString(state)},
        [](qovdll::Line& line) {
            for (int i = 0; i < 6; ++i) {
                const std::string f = Article(i);
                EXPECT_EQ(line.send_frame(f, static_cast<int>(f.size())), 0);
                std::this_thread::sleep_for(250ms);  // one save each
            }
        },
        limit);
    EXPECT_EQ(out.exit, 1);
    EXPECT_EQ(out.err, "qovreg: cannot write " + state +
                           ": File too large\nqovreg: the last changes are not in " + state + "\n");
    qov::sim::Memory back;
    std::string error;
    ASSERT_TRUE(qov::sim::loadState(back, state, &error)) << error;
    EXPECT_GE(back.articles.size(), 1u);
    EXPECT_LT(back.articles.size(), 6u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"reg.json"});
}

TEST(QovregFiles, AFrameLogThatCannotBeWrittenIsSaidOnce) {
    const Outcome out = RunQovreg({"--log", "/dev/full"}, [](qovdll::Line& line) {
        for (int i = 0; i < 3; ++i) {
            const std::string f = Article(i);
            EXPECT_EQ(line.send_frame(f, static_cast<int>(f.size())), 0);
        }
    });
    EXPECT_EQ(out.exit, 1);
    EXPECT_EQ(out.err, "qovreg: cannot write the log /dev/full: No space left on device\n");
}

}  // namespace
