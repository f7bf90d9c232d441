// Articles through qovctl and the real line to the register simulator: exactly once through
// faults, what must still hold when a faulty run ends early, Ctrl+C between two articles, and the
// register's article deletion and sales clearing.
#include <signal.h>

#include <QThread>

#include <algorithm>
#include <map>

#include "app/database.h"
#include "qovctl_fixture.h"

namespace qov::test {
namespace {

std::string Code(int i) {
    const std::string digits = std::to_string(1000 + 7 * i);
    return std::string(12 - digits.size(), '0') + digits;
}

// A run's outcome up to the length of `expected` (boxes of retried frames may follow).
std::string Head(const std::string& result, const std::string& expected) {
    return result.substr(0, expected.size());
}

class ArticleLine : public Qovctl {
protected:
    // `count` articles in QOV_PLU, every column varied; names without digraphs, so that they
    // come back as they went.
    void addArticles(int count) {
        std::string statements;
        for (int i = 1; i <= count; ++i) {
            statements +=
                "INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, "
                "ART_TYPE, ONE_ITEM, DEPARTMENT, INVENTARY) VALUES ('" +
                Code(i) + "', 'ARTIKAL " + std::to_string(i) + "', " + std::to_string(i) + ".29, " +
                std::to_string(i % 9) + ", " + std::to_string(i % 10) + ", " +
                std::to_string(i % 8) + ", " + std::to_string(i % 2) + ", " +
                std::to_string(i % 10) + ", " + std::to_string(i) + ".125);";
        }
        sql(statements);
    }
    // The rows of a table in code order: code, trimmed name, price, VAT, unit, type, flag,
    // department, stock.
    Strings articles(const std::string& table) {
        auto db = CreateSqlDatabase();
        db->open("Driver=SQLite;Database=" + home + "QovCom.db");
        auto rows = db->query("select * from " + table + " order by BAR_CODE");
        Strings all;
        while (rows->next()) {
            std::string row;
            for (const char* column : {"BAR_CODE", "DESCRIPTION", "PRICE", "VAT_CODE", "MES_TYPE",
                                       "ART_TYPE", "ONE_ITEM", "DEPARTMENT", "INVENTARY"}) {
                std::string value = rows->value(column);
                value.erase(value.find_last_not_of(' ') + 1);
                row += value + "|";
            }
            all.push_back(row);
        }
        db->close();
        return all;
    }
    // How often the simulator executed each frame of `command` ("PR", "PQ"), by code, in the
    // order of the first execution.
    std::vector<std::pair<std::string, int>> executed(const std::string& command) {
        std::vector<std::pair<std::string, int>> counts;
        const std::string log = ReadFile(logFile);
        for (std::size_t at = 0; at < log.size();) {
            const std::size_t end = std::min(log.find('\n', at), log.size());
            const std::string line = log.substr(at, end - at);
            at = end + 1;
            // "> S DATA", the SEQ byte escaped when it is a backslash.
            const std::size_t data = line.compare(2, 2, "\\x") == 0 ? 7 : 4;
            if (line.rfind("> ", 0) != 0 || line.compare(data, command.size(), command) != 0) {
                continue;
            }
            const std::string code = line.substr(data + command.size(), 12);
            auto it = std::find_if(counts.begin(), counts.end(),
                                   [&](const auto& c) { return c.first == code; });
            if (it == counts.end()) {
                counts.push_back({code, 1});
            } else {
                ++it->second;
            }
        }
        return counts;
    }
    // Every code executed once, in code order, from the first article on.
    static bool OncePrefix(const std::vector<std::pair<std::string, int>>& counts) {
        for (std::size_t i = 0; i < counts.size(); ++i) {
            if (counts[i].first != Code(static_cast<int>(i) + 1) || counts[i].second != 1) {
                return false;
            }
        }
        return true;
    }

    const std::string logFile = home + "frames.log";
};

// At 1 % faults and 2 % lost replies every article goes once and comes back whole.
TEST_F(ArticleLine, ExactlyOnceThroughAFaultyLine) {
    constexpr int kCount = 40;
    addArticles(kCount);
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--fault-rate", "0.01", "--drop-after-exec", "0.02",
                    "--seed", "5", "--log", logFile});
    const std::string sentOk = "0|Artikli: OK\nLager artikala: OK\n|", backOk = "0|Artikli: OK\n|";
    EXPECT_EQ(Head(run(device, {"--retries", "5", "send", "articles", "stock"}), sentOk), sentOk);
    EXPECT_EQ(Head(run(device, {"--retries", "5", "receive", "articles"}), backOk), backOk);
    const auto pr = executed("PR"), pq = executed("PQ");
    EXPECT_EQ(pr.size() + pq.size(), 2u * kCount);
    EXPECT_TRUE(OncePrefix(pr) && OncePrefix(pq));
    const Strings sent = articles("QOV_PLU");
    EXPECT_EQ(sent.size(), static_cast<std::size_t>(kCount));
    EXPECT_EQ(articles("QOV_PLU_RCV"), sent);
}

// A line that fails most exchanges may end the run early: nothing is executed twice, what was
// executed is the start of the table in code order, and the run says it failed.
TEST_F(ArticleLine, AnEarlyEndLeavesAContiguousPrefixExecutedOnce) {
    addArticles(6);
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--fault-rate", "0.4", "--drop-after-exec", "0.3",
                    "--seed", "3", "--log", logFile});
    const std::string result = run(device, {"send", "articles"});
    const auto pr = executed("PR");
    EXPECT_TRUE(OncePrefix(pr));
    const std::string failed = "1|Artikli: GRESKA\n|", ok = "0|Artikli: OK\n|";
    EXPECT_EQ(Head(result, failed), pr.size() < 6u ? failed : Head(result, ok) == ok ? ok : failed);
    if (Head(result, failed) == failed) {  // the broken link was said
        EXPECT_NE(result.find("|Arvon CAsh Registers: Komunikacija je prekinuta!\n"),
                  std::string::npos);
    }
}

// Ctrl+C: the article on the line is finished, the summary says the table failed, the tables
// after it do not run, and the count of handled articles matches what the register executed.
TEST_F(ArticleLine, InterruptStopsBetweenTwoArticles) {
    addArticles(300);
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--reply-delay", "10", "--log", logFile});
    QProcess p;
    p.start(QOV_BIN_DIR "/qovctl",
            Args({"--home", home, "--device", device, "send", "articles", "stock"}));
    ASSERT_TRUE(p.waitForStarted(10000));
    for (int i = 0; i < 500 && executed("PR").size() < 5u; ++i) {
        QThread::msleep(10);
    }
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    const auto pr = executed("PR");
    EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 130);
    EXPECT_EQ(p.readAllStandardOutput().toStdString(), "Artikli: GRESKA\n");
    EXPECT_EQ(p.readAllStandardError().toStdString(),
              "Prenos prekinut, obradjeno zapisa: " + std::to_string(pr.size()) + "\n");
    EXPECT_TRUE(OncePrefix(pr));
    EXPECT_GT(pr.size(), 4u);
    EXPECT_LT(pr.size(), 300u);
    EXPECT_TRUE(executed("PQ").empty());
}

TEST_F(ArticleLine, DeletingTheRegistersArticlesAndClearingItsSales) {
    addArticles(3);
    {
        Simulator sim;
        const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--daily-due"});
        EXPECT_EQ(run(device, {"send", "articles"}), "0|Artikli: OK\n|");
        EXPECT_EQ(run(device, {"delete-articles"}, "n\n"), "1||Da li ste sigurni? (d/n) ");
        EXPECT_EQ(run(device, {"delete-articles", "--yes"}),
                  "1||Arvon Cash Registers : Operacija brisanja nije izvrsena! Da li ste "
                  "izvrsili dnevni izvestaj ?\n");
        EXPECT_EQ(run(device, {"clear-sales"}, "d\n"),
                  "0||Da li ste sigurni? (d/n) Arvon Cash Registers: Operacija izvrsena !\n");
        EXPECT_EQ(run(device, {"receive", "articles"}), "0|Artikli: OK\n|");
        EXPECT_EQ(articles("QOV_PLU_RCV").size(), 3u);  // nothing was deleted
    }
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0"});
    EXPECT_EQ(run(device, {"send", "articles"}), "0|Artikli: OK\n|");
    EXPECT_EQ(run(device, {"--yes", "delete-articles"}), "0||");
    EXPECT_EQ(run(device, {"receive", "articles", "sold"}),
              "0|Artikli: OK\nProdati artikli: OK\n|");
    EXPECT_TRUE(articles("QOV_PLU_RCV").empty());
}

}  // namespace
}  // namespace qov::test
