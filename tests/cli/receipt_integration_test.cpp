// Receipts through qovctl against the simulator on a faulty line: every sale line and payment
// reaches the register's journal (its frame log) at most once, and a receipt reported issued
// is there in full.
#include <gtest/gtest.h>

#include <QString>

#include <array>
#include <cstdio>
#include <thread>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

// 200 receipts, spread over eight simulators that run side by side so that the lost replies'
// one-second waits overlap.
constexpr int kRegisters = 8;
constexpr int kReceiptsEach = 25;

// The number of times the register executed `frame` by its log.
int Executed(const std::string& log, const std::string& frame) {
    int n = 0;
    for (const QString& line : QString::fromLatin1(log).split('\n')) {
        const std::string l = line.toLatin1().toStdString();
        if (l.starts_with("> ") && l.ends_with(" " + frame))
            ++n;
    }
    return n;
}

std::string Thousandths(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "0.%03d", n);
    return text;
}

std::string Digits(long long value, int width) {
    std::string d = std::to_string(value);
    return std::string(static_cast<std::size_t>(width) - d.size(), '0') + d;
}

// What qovctl was asked to issue on one register, and what it answered.
struct Issued {
    std::string result;
    Strings frames;  // the sale lines and the cash payment it sends
};

// Every sale line and payment is in the journal at most once; a receipt reported issued is
// there whole; a receipt reported failed names its result code and the step that failed.
void ExpectExactlyOnce(const std::string& journal, const std::vector<Issued>& issued) {
    for (std::size_t r = 0; r < issued.size(); ++r) {
        const Issued& receipt = issued[r];
        const bool reportedOk = receipt.result.starts_with("0|");
        if (!reportedOk) {
            EXPECT_TRUE(receipt.result.starts_with("1|")) << r << ": " << receipt.result;
            EXPECT_NE(receipt.result.find("receipt result code "), std::string::npos) << r;
            EXPECT_NE(receipt.result.find(" nije "), std::string::npos) << r << receipt.result;
        }
        for (const std::string& frame : receipt.frames) {
            const int n = Executed(journal, frame);
            EXPECT_LE(n, 1) << "receipt " << r << " frame " << frame;
            if (reportedOk) {
                EXPECT_EQ(n, 1) << "receipt " << r << " frame " << frame;
            }
        }
    }
}

TEST_F(Qovctl, ReceiptsReachTheJournalExactlyOnceOverAFaultyLine) {
    WriteFile(home + "QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[application.rules]\r\nmaxcek=1000\r\nmaxkartica=1000\r\nmaxkes=100000\r\n");
    std::array<Simulator, kRegisters> sims;
    std::array<std::string, kRegisters> devices, logs;
    std::array<std::vector<Issued>, kRegisters> issued;
    for (int k = 0; k < kRegisters; ++k) {
        logs[k] = home + "register" + std::to_string(k) + ".log";
        devices[k] =
            Start(sims[k], {"--tcp", "127.0.0.1:0", "--demo", "--log", logs[k], "--fault-rate",
                            "0.02", "--drop-after-exec", "0.05", "--seed", std::to_string(11 + k)});
    }
    auto issue = [&](int k) {
        for (int r = 0; r < kReceiptsEach; ++r) {
            Issued receipt;
            Strings args{"receipt"};
            for (int l = 0; l < 2; ++l) {
                const std::string code = "86000000000" + std::to_string(l + 1);
                const int qty = r * 2 + l + 1;
                args.insert(args.end(), {"--line", code + ":" + Thousandths(qty)});
                receipt.frames.push_back("PS10" + code +
                                         "00123456789123"
                                         "0011" +
                                         Digits(qty, 9) + "00000000");
            }
            const int cash = 1000 + r;
            args.insert(args.end(), {"--cash", std::to_string(cash)});
            receipt.frames.push_back("g10" + Digits(cash * 100LL, 11));
            receipt.result = run(devices[k], args);
            issued[k].push_back(receipt);
        }
    };
    std::vector<std::thread> lines;
    for (int k = 0; k < kRegisters; ++k) {
        lines.emplace_back(issue, k);
    }
    for (std::thread& line : lines) {
        line.join();
    }

    int ok = 0, lost = 0;
    for (int k = 0; k < kRegisters; ++k) {
        const std::string journal = ReadFile(logs[k]);
        lost += journal.find("F lost") != std::string::npos ? 1 : 0;
        ExpectExactlyOnce(journal, issued[k]);
        for (const Issued& receipt : issued[k]) {
            ok += receipt.result.starts_with("0|") ? 1 : 0;
        }
    }
    EXPECT_EQ(lost, kRegisters) << "a seed gave no lost reply";
    EXPECT_GT(ok, kRegisters * kReceiptsEach / 2);
}

// A sale line the register takes while every reply to it is lost: the receipt is reported
// failed with the step that failed, and the line is in the journal once, not once per attempt.
TEST_F(Qovctl, ASaleWhoseRepliesAreLostIsReportedAndSoldOnce) {
    WriteFile(home + "QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[application.rules]\r\nmaxcek=1000\r\nmaxkartica=1000\r\nmaxkes=100000\r\n");
    const std::string log = home + "register.log";
    const std::string lost = "PS10860000000002";
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--demo", "--log", log, "--lose-replies-to", lost});
    const std::string result = run(device, {"receipt", "--line", "860000000001:1", "--line",
                                            "860000000002:2", "--cash", "1000"});
    EXPECT_TRUE(result.starts_with("1|")) << result;
    EXPECT_NE(result.find("Artikal 860000000002 nije prodat."), std::string::npos) << result;
    EXPECT_NE(result.find("receipt result code 2"), std::string::npos) << result;
    const std::string journal = ReadFile(log);
    EXPECT_EQ(Executed(journal, lost +
                                    "00123456789123"
                                    "0011" +
                                    Digits(2000, 9) + "00000000"),
              1);
    EXPECT_EQ(Executed(journal,
                       "PS10860000000001"
                       "00123456789123"
                       "0011" +
                           Digits(1000, 9) + "00000000"),
              1);
    EXPECT_EQ(Executed(journal, "g10" + Digits(100000, 11)), 1);
}

}  // namespace
}  // namespace qov::test
