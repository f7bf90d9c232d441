// Two stations on one PostgreSQL article database: what one writes the other reads at once,
// and the two limits of sharing it: a station's start empties the received-article tables for
// everybody, and "Prebaci u PLU" replaces everybody's article table.
#include <cstdlib>

#include "article_fixture.h"
#include "articles/article_receive.h"
#include "articles/article_sales_view.h"
#include "articles/article_store.h"
#include "link/station_start.h"
#include "tables/transfer_context.h"

namespace qov::test {
namespace {

// A second station: its own state, services and database connection, the same server.
struct OtherStation {
    explicit OtherStation(const SharedState& like) : state(like) {}
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> database = CreateSqlDatabase();
    MemoryUserStore userStore;
    Station station{state, dialogs, calls, *database, userStore};
};

// An article reply: code, department, name, price, flags, sales, quantity, stock.
std::string ArticleReply(const std::string& code, const std::string& name,
                         const std::string& price) {
    return code + "00" + name + std::string(28 - name.size(), ' ') + price + "0100" +
           "00000000000" + "000000000" + "000001000";
}

// The codes the editor lists, in order.
std::vector<std::string> Listed(Station& station) {
    articles::ArticleColumns columns;
    EXPECT_TRUE(articles::ArticleStore(station).carica_PLU(columns));
    std::vector<std::string> codes;
    for (const std::string& line : columns.main) {
        codes.push_back(articles::KeyOfLine(line));
    }
    return codes;
}

struct SharedDatabase : ArticleFixture {
    void SetUp() override {
        if (!UsePostgreSQL()) {
            const char* how = "QOV_TEST_PG is not set (see scripts/pg-test-server.sh)";
            if (std::getenv("CI") != nullptr) {
                FAIL() << how;
            }
            GTEST_SKIP() << how;
        }
        other = std::make_unique<OtherStation>(state);
    }
    // A receive of the register's articles on `s`: one article, MLEKO.
    bool Receive(Station& s, ScriptedLink& line) {
        line.replyTo("n",
                     "0100000000"
                     "00001")
            .replyTo("PTFIRST", ArticleReply("000000000031", "MLEKO", "00000725"));
        tables::TransferProgress progress;
        tables::TransferContext ctx{s, progress};
        return articles::ricevi_plu(ctx);
    }
    std::unique_ptr<OtherStation> other;
};

TEST_F(SharedDatabase, TwoStationsOnOneArticleTable) {
    articles::ArticleValues hleb;
    hleb.code = "25";
    hleb.description = "HLEB";
    hleb.price = 45.5;
    hleb.stock = 12;
    ASSERT_TRUE(articles::ArticleStore(station).insert_plu(hleb));
    EXPECT_EQ(Listed(other->station), std::vector<std::string>{"000000000025"});

    // The last writer wins; there is no lock on a row.
    hleb.price = 47;
    ASSERT_TRUE(articles::ArticleStore(other->station).aggiorna_plu(hleb, "000000000025"));
    EXPECT_EQ(articles::ArticleStore(station).PctOsv("000000000025")->price, "47");

    // One station's receive fills the table the other's sales view shows ...
    ASSERT_TRUE(Receive(station, link));
    EXPECT_EQ(Dump("QOV_PLU_RCV"),
              "000000000031|MLEKO" + std::string(23, ' ') + "|7.25|1|0|0|0|0|1|0|0\n");
    // ... until the other station starts: its start empties the received tables.
    LoadStoredLine(other->station, {.openLine = false, .emptyReceivedTables = true});
    EXPECT_EQ(Dump("QOV_PLU_RCV"), "");

    // "Prebaci u PLU" on one station replaces the article table of both.
    ASSERT_TRUE(Receive(other->station, other->link));
    articles::ArticleSalesView(other->station, articles::ArticleSalesView::Kind::Received)
        .copyIntoArticles();
    EXPECT_EQ(Listed(station), std::vector<std::string>{"000000000031"});
    EXPECT_EQ(dialogs.lines(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qov::test
