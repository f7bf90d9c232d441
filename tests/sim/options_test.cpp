// qovreg's command line.
#include "options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool parse(std::vector<const char*> args, qov::sim::Options& o, std::string& error) {
    args.insert(args.begin(), "qovreg");
    bool help = false;
    return qov::sim::parseOptions(static_cast<int>(args.size()), args.data(), o, error, help);
}

TEST(QovregOptions, BadValuesNamedAndBracketedAddressesSplit) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--tcp", "h:70000"}, "bad address for --tcp (HOST:PORT): h:70000"},
        {{"--fault-rate", "0,05"}, "bad value for --fault-rate (a number 0-1): 0,05"},
        {{"--seed", "-1"}, "bad value for --seed: -1"},
        {{"--plu-capacity", "100000"}, "bad value for --plu-capacity: 100000"},
        {{"--dial", "later"}, "bad value for --dial: later"},
        {{"--log"}, "missing value for --log"},
        {{"--demo=1"}, "unknown option: --demo=1"},
    };
    for (const auto& [args, message] : cases) {
        qov::sim::Options o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error));
        EXPECT_EQ(error, message);
    }
    std::string host;
    int port = -1;
    EXPECT_TRUE(qov::sim::splitHostPort("[::1]:0", host, port) && host == "::1" && port == 0);
}

}  // namespace
