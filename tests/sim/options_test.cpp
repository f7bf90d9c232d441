// qovreg's command line and the log's escaping.
#include "options.h"

#include <gtest/gtest.h>

#include <vector>

#include "event_log.h"

namespace {

using qov::sim::DialOutcome;
using qov::sim::Options;

bool parse(std::vector<const char*> args, Options& o, std::string& error) {
    args.insert(args.begin(), "qovreg");
    bool help = false;
    return qov::sim::parseOptions(static_cast<int>(args.size()), args.data(), o, error, help);
}

TEST(QovregOptions, DefaultsAndEveryOption) {
    Options d;
    std::string error;
    ASSERT_TRUE(parse({}, d, error));
    EXPECT_EQ(d.tcp, "127.0.0.1:5100");
    EXPECT_EQ(d.model.pluCapacity, 10000);
    EXPECT_EQ(d.line.seed, 1u);

    Options o;
    ASSERT_TRUE(parse({"--tcp",
                       "0.0.0.0:0",
                       "--pty=/tmp/ttyQ",
                       "--state",
                       "s.json",
                       "--demo",
                       "--log",
                       "r.log",
                       "--modem",
                       "--dial",
                       "noanswer",
                       "--ring",
                       "--fault-rate",
                       "0.05",
                       "--drop-after-exec=0.5",
                       "--seed",
                       "42",
                       "--syn-ms",
                       "1500",
                       "--reply-delay",
                       "20",
                       "--plu-capacity",
                       "500",
                       "--paper-out",
                       "3",
                       "--report-lock"},
                      o, error))
        << error;
    EXPECT_EQ(o.tcp, "0.0.0.0:0");
    EXPECT_EQ(o.pty, "/tmp/ttyQ");
    EXPECT_EQ(o.state, "s.json");
    EXPECT_TRUE(o.demo);
    EXPECT_EQ(o.log, "r.log");
    EXPECT_TRUE(o.line.modem);
    EXPECT_EQ(o.line.dial, DialOutcome::NoAnswer);
    EXPECT_TRUE(o.line.ring);
    EXPECT_DOUBLE_EQ(o.line.faultRate, 0.05);
    EXPECT_DOUBLE_EQ(o.line.dropAfterExec, 0.5);
    EXPECT_EQ(o.line.seed, 42u);
    EXPECT_EQ(o.line.synMs, 1500);
    EXPECT_EQ(o.line.replyDelayMs, 20);
    EXPECT_EQ(o.model.pluCapacity, 500);
    EXPECT_EQ(o.model.paperOut, 3);
    EXPECT_TRUE(o.model.reportLock);
}

TEST(QovregOptions, BadValuesNamed) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--tcp", "127.0.0.1"}, "bad address for --tcp (HOST:PORT): 127.0.0.1"},
        {{"--tcp", "h:70000"}, "bad address for --tcp (HOST:PORT): h:70000"},
        {{"--fault-rate", "0,05"}, "bad value for --fault-rate (a number 0-1): 0,05"},
        {{"--fault-rate", "1.5"}, "bad value for --fault-rate (a number 0-1): 1.5"},
        {{"--seed", "-1"}, "bad value for --seed: -1"},
        {{"--plu-capacity", "100000"}, "bad value for --plu-capacity: 100000"},
        {{"--syn-ms", "x"}, "bad value for --syn-ms: x"},
        {{"--dial", "later"}, "bad value for --dial: later"},
        {{"--log"}, "missing value for --log"},
        {{"--demo=1"}, "unknown option: --demo=1"},
        {{"--colour"}, "unknown option: --colour"},
    };
    for (const auto& [args, message] : cases) {
        Options o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << message;
        EXPECT_EQ(error, message);
    }
}

TEST(QovregOptions, HostAndPort) {
    std::string host;
    int port = 0;
    ASSERT_TRUE(qov::sim::splitHostPort("::1:5100", host, port));
    EXPECT_EQ(host, "::1");
    EXPECT_EQ(port, 5100);
    ASSERT_TRUE(qov::sim::splitHostPort("[::1]:0", host, port));
    EXPECT_EQ(host, "::1");
    EXPECT_EQ(port, 0);
    EXPECT_FALSE(qov::sim::splitHostPort(":5100", host, port));
    EXPECT_FALSE(qov::sim::splitHostPort("host:", host, port));
}

TEST(EventLog, EscapesBytesOutsidePrintableAscii) {
    EXPECT_EQ(qov::sim::EventLog::escape(std::string("A\0\x1b~\x7f\xC8\\z", 8)),
              "A\\x00\\x1B~\\x7F\\xC8\\x5Cz");
}

}  // namespace
