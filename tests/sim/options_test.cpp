// qovreg's command line.
#include "options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Parses a command line given as one text, the words separated by blanks.
bool parse(const std::string& line, qov::sim::Options& o, std::string& error) {
    std::vector<std::string> words = {"qovreg"};
    for (std::size_t at = 0, end; at < line.size(); at = end + 1) {
        end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
    }
    std::vector<const char*> argv;
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    bool help = false;
    return qov::sim::parseOptions(static_cast<int>(argv.size()), argv.data(), o, error, help);
}

TEST(QovregOptions, EveryOptionRead) {
    qov::sim::Options o;
    std::string error;
    ASSERT_TRUE(
        parse("--tcp [::1]:0 --pty=/tmp/ttyQ --state s.json --demo --log r.log --modem "
              "--dial noanswer --ring --fault-rate 0.05 --drop-after-exec=0.5 --seed 42 "
              "--syn-ms 1500 --reply-delay 20 --plu-capacity 500 --paper-out 3 --report-lock",
              o, error))
        << error;
    EXPECT_EQ((std::vector<std::string>{o.tcp, o.pty, o.state, o.log}),
              (std::vector<std::string>{"[::1]:0", "/tmp/ttyQ", "s.json", "r.log"}));
    EXPECT_TRUE(o.demo && o.line.modem && o.line.ring && o.model.reportLock);
    EXPECT_EQ(o.line.dial, qov::sim::DialOutcome::NoAnswer);
    EXPECT_DOUBLE_EQ(o.line.faultRate, 0.05);
    EXPECT_DOUBLE_EQ(o.line.dropAfterExec, 0.5);
    EXPECT_EQ((std::vector<long long>{static_cast<long long>(o.line.seed), o.line.synMs,
                                      o.line.replyDelayMs, o.model.pluCapacity, o.model.paperOut}),
              (std::vector<long long>{42, 1500, 20, 500, 3}));
    std::string host;
    int port = 1;
    ASSERT_TRUE(qov::sim::splitHostPort(o.tcp, host, port));
    EXPECT_EQ(host + ":" + std::to_string(port), "::1:0");
}

TEST(QovregOptions, BadValuesNamed) {
    const std::pair<std::string, std::string> cases[] = {
        {"--tcp 127.0.0.1", "bad address for --tcp (HOST:PORT): 127.0.0.1"},
        {"--tcp h:70000", "bad address for --tcp (HOST:PORT): h:70000"},
        {"--fault-rate 0,05", "bad value for --fault-rate (a number 0-1): 0,05"},
        {"--fault-rate 1.5", "bad value for --fault-rate (a number 0-1): 1.5"},
        {"--seed -1", "bad value for --seed: -1"},
        {"--plu-capacity 100000", "bad value for --plu-capacity: 100000"},
        {"--dial later", "bad value for --dial: later"},
        {"--log", "missing value for --log"},
        {"--demo=1", "unknown option: --demo=1"},
    };
    for (const auto& [args, message] : cases) {
        qov::sim::Options o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << message;
        EXPECT_EQ(error, message);
    }
}

}  // namespace
