#include "options.h"

#include <charconv>
#include <cstdlib>
#include <vector>

namespace qov::sim {

const char* const kUsage =
    "usage: qovreg [--tcp HOST:PORT] [--pty LINK] [--state FILE|--keep] [--demo] [--log FILE] "
    "[--modem]\n"
    "              [--dial connect|busy|nocarrier|noanswer|nodialtone] [--ring] "
    "[--fault-rate P]\n"
    "              [--drop-after-exec P] [--seed N] [--syn-ms N] [--reply-delay MS] "
    "[--plu-capacity N]\n"
    "              [--paper-out N] [--report-lock] [--daily-due] [--lose-replies-to TEXT]\n"
    "              [--byte-gap MS] [--chunk N] [--chunk-delay MS]\n";

namespace {

bool toInt(const std::string& s, long long lo, long long hi, long long& out) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end && !s.empty() && out >= lo && out <= hi;
}

// A probability written with a point ("0.05"), independent of the locale.
bool toProbability(const std::string& s, double& out) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end && !s.empty() && out >= 0 && out <= 1;
}

}  // namespace

bool splitHostPort(const std::string& text, std::string& host, int& port) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    long long p = 0;
    if (!toInt(text.substr(colon + 1), 0, 65535, p))
        return false;
    host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);  // [::1]:5100
    port = static_cast<int>(p);
    return true;
}

bool parseOptions(int argc, const char* const* argv, Options& o, std::string& error, bool& help) {
    help = false;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        const auto take = [&](std::string& out) {
            if (hasValue) {
                out = value;
                return true;
            }
            if (i + 1 >= args.size()) {
                error = "missing value for " + name;
                return false;
            }
            out = args[++i];
            return true;
        };
        const auto takeInt = [&](long long lo, long long hi, long long& out) {
            std::string v;
            if (!take(v))
                return false;
            if (!toInt(v, lo, hi, out)) {
                error = "bad value for " + name + ": " + v;
                return false;
            }
            return true;
        };
        const auto takeProbability = [&](double& out) {
            std::string v;
            if (!take(v))
                return false;
            if (!toProbability(v, out)) {
                error = "bad value for " + name + " (a number 0-1): " + v;
                return false;
            }
            return true;
        };
        long long n = 0;
        if (name == "--help" || name == "-h") {
            help = true;
            return true;
        } else if (name == "--tcp") {
            if (!take(o.tcp))
                return false;
            std::string host;
            int port = 0;
            if (!splitHostPort(o.tcp, host, port)) {
                error = "bad address for --tcp (HOST:PORT): " + o.tcp;
                return false;
            }
        } else if (name == "--pty") {
            if (!take(o.pty))
                return false;
            if (o.pty.empty()) {
                error = "--pty needs a path";
                return false;
            }
        } else if (name == "--state") {
            if (!take(o.state))
                return false;
        } else if (name == "--log") {
            if (!take(o.log))
                return false;
        } else if (name == "--keep" && !hasValue) {
            o.keep = true;
        } else if (name == "--demo" && !hasValue) {
            o.demo = true;
        } else if (name == "--modem" && !hasValue) {
            o.line.modem = true;
        } else if (name == "--ring" && !hasValue) {
            o.line.ring = true;
        } else if (name == "--report-lock" && !hasValue) {
            o.model.reportLock = true;
        } else if (name == "--daily-due" && !hasValue) {
            o.model.dailyDue = true;
        } else if (name == "--dial") {
            std::string v;
            if (!take(v))
                return false;
            if (v == "connect")
                o.line.dial = DialOutcome::Connect;
            else if (v == "busy")
                o.line.dial = DialOutcome::Busy;
            else if (v == "nocarrier")
                o.line.dial = DialOutcome::NoCarrier;
            else if (v == "noanswer")
                o.line.dial = DialOutcome::NoAnswer;
            else if (v == "nodialtone")
                o.line.dial = DialOutcome::NoDialtone;
            else {
                error = "bad value for --dial: " + v;
                return false;
            }
        } else if (name == "--fault-rate") {
            if (!takeProbability(o.line.faultRate))
                return false;
        } else if (name == "--drop-after-exec") {
            if (!takeProbability(o.line.dropAfterExec))
                return false;
        } else if (name == "--seed") {
            if (!takeInt(0, 9223372036854775807LL, n))
                return false;
            o.line.seed = static_cast<std::uint64_t>(n);
        } else if (name == "--syn-ms") {
            if (!takeInt(0, 600000, n))
                return false;
            o.line.synMs = static_cast<int>(n);
        } else if (name == "--reply-delay") {
            if (!takeInt(0, 600000, n))
                return false;
            o.line.replyDelayMs = static_cast<int>(n);
        } else if (name == "--byte-gap") {
            if (!takeInt(1, 600000, n))
                return false;
            o.line.gapMs = static_cast<int>(n);
        } else if (name == "--chunk") {
            if (!takeInt(0, 65536, n))
                return false;
            o.line.chunk = static_cast<int>(n);
        } else if (name == "--chunk-delay") {
            if (!takeInt(0, 600000, n))
                return false;
            o.line.chunkDelayMs = static_cast<int>(n);
        } else if (name == "--plu-capacity") {
            if (!takeInt(0, 99999, n))
                return false;
            o.model.pluCapacity = static_cast<int>(n);
        } else if (name == "--lose-replies-to") {
            if (!take(o.line.loseRepliesTo))
                return false;
        } else if (name == "--paper-out") {
            if (!takeInt(0, 1000000, n))
                return false;
            o.model.paperOut = static_cast<int>(n);
        } else {
            error = "unknown option: " + args[i];
            return false;
        }
    }
    if (o.keep && !o.state.empty()) {
        error = "--keep and --state exclude each other";
        return false;
    }
    return true;
}

}  // namespace qov::sim
