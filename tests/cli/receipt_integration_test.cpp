// Receipts through qovctl against the simulator on a faulty line: every sale line and payment
// reaches the register's journal (its frame log) at most once, and a receipt reported issued
// is there in full.
#include <gtest/gtest.h>

#include <QString>

#include <cstdio>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

constexpr int kReceipts = 12;

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

TEST_F(Qovctl, ReceiptsReachTheJournalExactlyOnceOverAFaultyLine) {
    WriteFile(home + "QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[application.rules]\r\nmaxcek=1000\r\nmaxkartica=1000\r\nmaxkes=100000\r\n");
    const std::string log = home + "register.log";
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--demo", "--log", log, "--fault-rate", "0.02",
                    "--drop-after-exec", "0.05", "--seed", "11"});

    struct Issued {
        std::string result;
        Strings frames;  // the sale lines and the cash payment it sends
    };
    std::vector<Issued> issued;
    for (int r = 0; r < kReceipts; ++r) {
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
        receipt.result = run(device, args);
        issued.push_back(receipt);
    }

    const std::string journal = ReadFile(log);
    ASSERT_NE(journal.find("F lost"), std::string::npos) << "the seed gave no lost reply";
    int ok = 0;
    for (int r = 0; r < kReceipts; ++r) {
        const Issued& receipt = issued[static_cast<std::size_t>(r)];
        const bool reportedOk = receipt.result.starts_with("0|");
        ok += reportedOk ? 1 : 0;
        if (!reportedOk) {
            EXPECT_TRUE(receipt.result.starts_with("1|")) << r << ": " << receipt.result;
            EXPECT_NE(receipt.result.find("receipt result code "), std::string::npos) << r;
        }
        for (const std::string& frame : receipt.frames) {
            const int n = Executed(journal, frame);
            EXPECT_LE(n, 1) << "receipt " << r << " frame " << frame;
            if (reportedOk) {
                EXPECT_EQ(n, 1) << "receipt " << r << " frame " << frame;
            }
        }
    }
    EXPECT_GT(ok, 0);
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
