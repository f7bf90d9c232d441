// Articles on the line: the "PR" and "PQ" sends, the article and sold-article receives, the
// register's article deletion and sales clearing, and a cancel between two records.
#include "articles/article_receive.h"
#include "articles/article_transmit.h"
#include "articles/register_articles.h"
#include "support/test_environment.h"
#include "tables/fields.h"
#include "tables/table_fixture.h"
#include "tables/transfer_run.h"

namespace qov::test {
namespace {

using articles::ArticleRecord;
using Strings = std::vector<std::string>;

std::string Digits(long long value, std::size_t width) {
    return tables::ZeroFilled(value, width);
}

// An article reply: code, department, name (28), price, flags, sales, quantity sold, stock.
std::string Reply(const std::string& code, const std::string& dept, const std::string& name,
                  long long price, const std::string& flags, long long sales = 0, long long qty = 0,
                  long long stock = 0) {
    return code + dept + tables::FitRight(name, 28) + Digits(price, 8) + flags + Digits(sales, 11) +
           Digits(qty, 9) + Digits(stock, 9);
}

// The status reply "n" with an article count in characters 11-15.
std::string Status(int count) {
    return "0100000000" + Digits(count, 5);
}

const std::string kHleb = Reply("000000000025", "03", "HLEB", 4550, "1100", 0, 0, 7500);
const std::string kMleko = Reply("000000000031", "00", "MLEKO", 725, "0020", 11375, 2500, 1000);

// A station on a fresh database, the received tables' rows readable as text.
struct ArticleLine : TableFixture {
    ArticleLine() { state.ConnectionString = MakeTempDatabase(); }

    void sql(const std::string& statement) {
        database->open(state.ConnectionString);
        database->execute(statement);
        database->close();
    }
    void addArticle(const std::string& code, const std::string& name, const std::string& price,
                    const std::string& rest = "1, 0, 0, 0, 2, 7.5") {
        sql("INSERT INTO QOV_PLU (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
            "ONE_ITEM, DEPARTMENT, INVENTARY) VALUES ('" +
            code + "', " + SqlText(name) + ", " + price + ", " + rest + ")");
    }
    // Each row "CODE|NAME|PRICE|VAT|UNIT|TYPE|FLAG|DEPT|TOTAL|QTY|STOCK|MAX".
    Strings rows(const std::string& table) {
        database->open(state.ConnectionString);
        auto result = database->query("select * from " + table + " order by BAR_CODE");
        Strings all;
        while (result->next()) {
            std::string row;
            for (const char* column :
                 {"BAR_CODE", "DESCRIPTION", "PRICE", "VAT_CODE", "MES_TYPE", "ART_TYPE",
                  "ONE_ITEM", "DEPARTMENT", "TOTAL", "QTY", "INVENTARY", "MAX_VALUE"}) {
                row += (row.empty() ? "" : "|") + result->value(column);
            }
            all.push_back(row);
        }
        database->close();
        return all;
    }
    // The calls made on the link, "op text".
    Strings calledWith() const {
        Strings all;
        for (const LinkCall& call : link.calls) {
            all.push_back(call.op + (call.text.empty() ? "" : " " + call.text));
        }
        return all;
    }
};

// ---- "PR" and "PQ" frames -----------------------------------------------------------------

struct FrameCase {
    const char* name;
    bool cyrillicMode, cyrillicLanguage;
    ArticleRecord article;  // code, name, price, vat, unit, type, single, department, stock
    std::string articleFrame, stockFrame;
};

std::string Name28(const std::string& name) {
    return tables::FitRight(name, 28);
}

// clang-format off
const FrameCase kFrames[] = {
    {"Latin", false, false, {"000000000025", "HLEB", "45.5", "1", "0", "0", true, "3", "12"},
     "PR00000000002503" + Name28("HLEB") + "000045501100", "PQ000000000025000012000"},
    {"PriceThroughItsShortestText", false, false, {"7", "SOK", "0.29", "0", "1", "2", false, "0",
     "7.5"}, "PR00000000000700" + Name28("SOK") + "000000290012", "PQ7000007500"},
    {"UnitTenTakesTwoCharacters", false, false, {"000000000044", "KABL", "7.25", "8", "10", "7",
     false, "9", "0"}, "PR00000000004409" + Name28("KABL") + "0000072508107",
     "PQ000000000044000000000"},
    {"LongCodeAndNameCut", false, false, {"1234567890123", "ABCDEFGHIJKLMNOPRSTUV0123456789", "1",
     "0", "0", "0", false, "0", "999999.999"},
     "PR12345678901200ABCDEFGHIJKLMNOPRSTUV0123456000001000000", "PQ1234567890123999999999"},
    {"StockHalvesToEvenOnItsDigits", false, false, {"000000000005", "SO", "1", "0", "1", "0", false,
     "0", "2.0015"}, "PR00000000000500" + Name28("SO") + "000001000010", "PQ000000000005000002002"},
    {"LatinModeUnpacksFontLetters", false, false, {"000000000002", "Wiva", "1", "0", "0", "0", false,
     "0", "1"}, "PR00000000000200" + Name28("Njiva") + "000001000000", "PQ000000000002000001000"},
    {"CyrillicNamePackedAndInRegisterCode", true, true, {"000000000001", "Njiva", "1", "0", "0",
     "0", false, "0", "0.001"}, "PR00000000000100" + Reg({170, 216, 210, 208}) +
     std::string(24, ' ') + "000001000000", "PQ000000000001000000001"},
};
// clang-format on

class ArticleFrames : public ArticleLine, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(ArticleFrames, ArticleAndStock) {
    const FrameCase& c = GetParam();
    state.CyrillicMode = c.cyrillicMode;
    state.CyrillicLanguage = c.cyrillicLanguage;
    EXPECT_EQ(articles::ArticleFrame(state, c.article), c.articleFrame);
    EXPECT_EQ(articles::StockFrame(c.article), c.stockFrame);
}

INSTANTIATE_TEST_SUITE_P(Articles, ArticleFrames, ::testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- sending from the database ------------------------------------------------------------

// Rows in code order; a blank name and a zero code are left out of "PR" but counted, and "PQ"
// sends every row with its code as stored.
TEST_F(ArticleLine, SendsTheTableInCodeOrderSkippingIncompleteRows) {
    addArticle("000000000031", "MLE'KO", "0.29");
    addArticle("000000000025", "HLEB", "45.5");
    addArticle("000000000040", "   ", "3");
    addArticle("000000000000", "NULA", "3");
    EXPECT_TRUE(articles::invia_plu(ctx));
    EXPECT_EQ(link.textsOf("send_frame"),
              (Strings{"PR00000000002502" + Name28("HLEB") + "000045500100",
                       "PR00000000003102" + Name28("MLE'KO") + "000000290100"}));
    EXPECT_EQ(progress.counter() + "/" + std::to_string(progress.total()), "4/4");
    link.calls.clear();
    EXPECT_TRUE(articles::invia_plu_inv(ctx));
    EXPECT_EQ(link.textsOf("send_frame"),
              (Strings{"PQ000000000000000007500", "PQ000000000025000007500",
                       "PQ000000000031000007500", "PQ000000000040000007500"}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ArticleLine, RefusalsBreaksAndFailuresOfTheSend) {
    addArticle("000000000025", "HLEB", "45.5");
    addArticle("000000000031", "MLEKO", "7");
    const std::string hleb = "PR00000000002502" + Name28("HLEB") + "000045500100";
    const struct {
        const char* name;
        bool stock;
        std::vector<int> results;  // of the sends, in order
        std::vector<Answer> answers;
        bool ok;
        std::string counter;  // before the run: "9"
        Strings boxes;
    } cases[] = {
        {"PR refused, Retry, taken",
         false,
         {1, 0, 0},
         {Answer::Retry},
         true,
         "2",
         {"Arvon Cash Registers: Artikal 000000000025 nije primljen u kasu!\n [Retry/Cancel]"}},
        {"PR refused, Cancel",
         false,
         {1},
         {Answer::Cancel},
         false,
         "0",
         {"Arvon Cash Registers: Artikal 000000000025 nije primljen u kasu!\n [Retry/Cancel]"}},
        {"PQ refused, Cancel: the counter was not reset",
         true,
         {1},
         {Answer::Cancel},
         false,
         "9",
         {"Arvon Cash Registers:  Za artikal 000000000025 nije azuriran lager!\n [Retry/Cancel]"}},
        {"link broken on the second",
         false,
         {0, 2},
         {},
         false,
         "1",
         {"Arvon CAsh Registers: Komunikacija je prekinuta! <exclamation>"}},
        {"other results are taken", true, {3, -7}, {}, true, "2", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.calls.clear();
        dialogs.clear();
        progress.setCounter(9);
        for (int result : c.results) {
            link.then(result);
        }
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(c.stock ? articles::invia_plu_inv(ctx) : articles::invia_plu(ctx), c.ok);
        EXPECT_EQ(link.count("send_frame"), static_cast<int>(c.results.size()));
        EXPECT_EQ(shown(), c.boxes);
        EXPECT_EQ(progress.counter(), c.counter);
    }
    state.ModemMode = true;
    link.calls.clear();
    EXPECT_TRUE(articles::invia_plu(ctx));
    EXPECT_EQ(link.textsOf("send_frameM").front(), hleb);

    dialogs.clear();
    state.ConnectionString = "Driver=SQLite;Database=/nonexistent/folder/x.db";
    EXPECT_FALSE(articles::invia_plu_inv(ctx));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers(Sender:='frmTrasm.invia_plu_inv()')");
}

// ---- receiving ----------------------------------------------------------------------------

TEST_F(ArticleLine, ReceivesEveryArticleWithTheExactInsert) {
    sql("INSERT INTO QOV_PLU_RCV (BAR_CODE) VALUES ('old')");
    const auto hleb = articles::ReadArticleReply(state, kHleb);
    EXPECT_EQ(
        articles::ReceivedArticleInsert("QOV_PLU_RCV", hleb),
        "INSERT INTO QOV_PLU_RCV (DESCRIPTION,MES_TYPE, ART_TYPE, PRICE, MAX_VALUE, VAT_CODE, "
        "ONE_ITEM, DEPARTMENT, BAR_CODE, TOTAL, QTY, INVENTARY ) values ('" +
            Name28("HLEB") + "', 0, 0, 45.5, 0, 1, 1, 03, '000000000025', 0, 0, 7.5)");
    link.replyTo("n", Status(2)).replyTo("PTFIRST", kHleb).replyTo("PTNEXT", kMleko);
    EXPECT_TRUE(articles::ricevi_plu(ctx));
    EXPECT_EQ(rows("QOV_PLU_RCV"),
              (Strings{"000000000025|" + Name28("HLEB") + "|45.5|1|0|0|1|3|0|0|7.5|0",
                       "000000000031|" + Name28("MLEKO") + "|7.25|0|2|0|0|0|113.75|2.5|1|0"}));
    EXPECT_EQ(calledWith(), (Strings{"get_frame n", "get_frame PTFIRST", "get_frame PTNEXT"}));
    EXPECT_EQ(progress.counter() + "/" + std::to_string(progress.total()), "2/2");
}

// What the reading rule makes of bad replies: the stored row, and the articles' flag.
TEST_F(ArticleLine, BadRepliesStoreWhatTheReadingRuleGives) {
    const std::string cyr = Reg({170, 216, 210, 208});  // "Wiva" in register code
    const struct {
        const char* name;
        std::string reply;
        std::string row;
        bool flag;
    } cases[] = {
        {"NUL ends the name",
         Reply("000000000001", "01", "HLEB" + std::string(1, '\0') + "XYZ", 100, "0000"),
         "000000000001|" + Name28("HLEB") + "|1|0|0|0|0|1|0|0|0|0", false},
        {"comma is a point, junk is 0",
         "000000000002 2" + Name28("O'HARA") + "00012,50" + "X1Z?" + "00000012,50" + "abc",
         "000000000002|" + Name28("O'HARA") + "|0.125|1|0|0|0|2|0.125|0|0|0", false},
        {"register Cyrillic to font text", Reply("000000000003", "09", cyr, 1, "0000"),
         "000000000003|" + Name28("Wiva") + "|0.01|0|0|0|0|9|0|0|0|0", true},
        {"short reply: blank name marks", "   4",
         "4|" + std::string(28, ' ') + "|0|0|0|0|0|0|0|0|0|0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.tableCyrillic(CyrTable::Articles) = false;
        link.replyTo("n", Status(1)).replyTo("PTFIRST", c.reply);
        EXPECT_TRUE(articles::ricevi_plu(ctx));
        EXPECT_EQ(rows("QOV_PLU_RCV"), Strings{c.row});
        EXPECT_EQ(state.tableCyrillic(CyrTable::Articles), c.flag);
    }
}

// Every result of the status request and of the article requests, in both runs.
TEST_F(ArticleLine, ReceiveResultCases) {
    const std::string retry = "Arvon Cash Registers: Greska pri prenosu podataka!\n [Retry/Cancel]";
    const std::string sender = "Arvon Cash Registers(Sender:='frmRicevi.ricevi_plu";
    // A request and its result. Articles: 1 replies kHleb, 2 kMleko, others are the result.
    // Status: 0 or more is the count of a whole reply, kShort a reply without characters 11-15.
    using Step = std::pair<std::string, int>;
    constexpr int kShort = 99;
    const struct {
        const char* name;
        bool sold;
        std::vector<Step> steps;
        std::vector<Answer> answers;
        bool ok;
        Strings stored;  // codes
        Strings boxes;
    } cases[] = {
        {"count 0: the table emptied, nothing asked", false, {{"n", 0}}, {}, true, {}, {}},
        {"status -4, Retry", false, {{"n", -4}, {"n", 0}}, {Answer::Retry}, true, {}, {retry}},
        {"status -5, Cancel", false, {{"n", -5}}, {Answer::Cancel}, false, {}, {retry}},
        {"status -1",
         false,
         {{"n", -1}},
         {},
         false,
         {},
         {"Arvon Cash Registers: Komunikacija nije dobra! <exclamation>"}},
        {"status shorter than 11 characters",
         false,
         {{"n", kShort}},
         {},
         false,
         {},
         {sender + "()'): 13 - Type mismatch <critical>"}},
        {"PTNEXT -5, Retry asks PTNEXT again",
         false,
         {{"n", 3}, {"PTFIRST", 1}, {"PTNEXT", -5}, {"PTNEXT", 2}, {"PTNEXT", 0}},
         {Answer::Retry},
         true,
         {"000000000025", "000000000031"},
         {retry}},
        {"PTNEXT -4, Cancel",
         false,
         {{"n", 3}, {"PTFIRST", 1}, {"PTNEXT", -4}},
         {Answer::Cancel},
         false,
         {"000000000025"},
         {retry}},
        {"PTNEXT -1 ends silently",
         false,
         {{"n", 3}, {"PTFIRST", 1}, {"PTNEXT", -1}},
         {},
         false,
         {"000000000025"},
         {}},
        {"other negatives skip",
         false,
         {{"n", 2}, {"PTFIRST", -3}, {"PTNEXT", 2}},
         {},
         true,
         {"000000000031"},
         {}},
        {"sold: unsold not stored, other negatives shown",
         true,
         {{"n", 3}, {"PTFIRST", 1}, {"PTSOLD", -2}, {"PTSOLD", 2}},
         {},
         true,
         {"000000000031"},
         {"QovCom: -2"}},
        {"sold: 0 ends complete",
         true,
         {{"n", 3}, {"PTFIRST", 2}, {"PTSOLD", 0}},
         {},
         true,
         {"000000000031"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string table = c.sold ? "QOV_PLU_RCV_SOLD" : "QOV_PLU_RCV";
        sql("INSERT INTO " + table + " (BAR_CODE) VALUES ('old')");
        dialogs.clear();
        link.calls.clear();
        Strings expected;
        for (const auto& [request, result] : c.steps) {
            const std::string op = request != "n" && c.sold ? "get_frame120s" : "get_frame";
            std::string reply = result == 1 ? kHleb : result == 2 ? kMleko : "";
            if (request == "n" && result >= 0) {
                reply = result == kShort ? "0100000" : Status(result);
            }
            link.expect(op, request, reply.empty() ? result : static_cast<int>(reply.size()),
                        reply);
            expected.push_back(op + " " + request);
        }
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(c.sold ? articles::ricevi_plu_sold(ctx) : articles::ricevi_plu(ctx), c.ok);
        EXPECT_EQ(calledWith(), expected);
        Strings codes;
        for (const std::string& row : rows(table)) {
            codes.push_back(row.substr(0, row.find('|')));
        }
        EXPECT_EQ(codes, c.stored);
        EXPECT_EQ(shown(), c.boxes);
        if (c.sold && c.ok) {
            EXPECT_EQ(progress.counter(), "1");  // rows inserted, not requests made
        }
    }
}

// ---- the register's articles and sales ----------------------------------------------------

TEST_F(ArticleLine, DeleteAllStopsAtTheFirstRefusal) {
    const std::string critical = "Arvon Cash Registers: ";
    const struct {
        const char* name;
        int test;
        std::string status;
        std::vector<int> deletes;  // results of the PD frames
        bool ok;
        Strings calls, boxes;
    } cases[] = {
        {"every article",
         0,
         Status(2),
         {0, 0},
         true,
         {"Testconnessione", "get_frame n", "get_frame PTFIRST", "get_frame PTFIRST",
          "send_frame PD000000000025", "get_frame PTFIRST", "send_frame PD000000000025"},
         {}},
        {"refused: the daily-report question",
         0,
         Status(5),
         {1},
         false,
         {"Testconnessione", "get_frame n", "get_frame PTFIRST", "get_frame PTFIRST",
          "send_frame PD000000000025"},
         {"Arvon Cash Registers : Operacija brisanja nije izvrsena! Da li ste izvrsili dnevni "
          "izvestaj ? <critical>"}},
        {"no link",
         1,
         "",
         {},
         false,
         {"Testconnessione"},
         {critical + "Veza nije u redu! <critical>"}},
        {"no status",
         0,
         "",
         {},
         false,
         {"Testconnessione", "get_frame n"},
         {critical + "Komunikacija nije dobra ! <critical>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.calls.clear();
        dialogs.clear();
        link.expect("Testconnessione", "", c.test);
        if (c.test == 0) {
            link.expect("get_frame", "n", static_cast<int>(c.status.size()), c.status);
        }
        if (!c.status.empty()) {
            link.replyTo("PTFIRST", kMleko);  // not used
        }
        for (int result : c.deletes) {
            link.replyTo("PTFIRST", kHleb).expect("send_frame", "", result);
            link.script.back().checkText = false;
        }
        tables::TransferProgress ops;
        EXPECT_EQ(articles::DeleteRegisterArticles(station, ops), c.ok);
        EXPECT_EQ(calledWith(), c.calls);
        EXPECT_EQ(shown(), c.boxes);
        if (c.ok) {
            EXPECT_EQ(ops.counter(), "0");
        }
    }
}

TEST_F(ArticleLine, ClearSales) {
    const struct {
        const char* name;
        int test, pe, n;
        Strings calls;
        std::string box;
    } cases[] = {
        {"done",
         0,
         0,
         15,
         {"Testconnessione", "send_frame PE", "get_frame120s n"},
         "Arvon Cash Registers: Operacija izvrsena ! <info>"},
        {"no reply after PE",
         0,
         0,
         0,
         {"Testconnessione", "send_frame PE", "get_frame120s n"},
         "Arvon Cash Registers: Operacija nije izvrsena ! <critical>"},
        {"PE refused",
         0,
         1,
         0,
         {"Testconnessione", "send_frame PE"},
         "Arvon Cash Registers: Operacija nije izvrsena ! <critical>"},
        {"no link",
         1,
         0,
         0,
         {"Testconnessione"},
         "Arvon Cash Registers: Veza nije u redu! <critical>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.calls.clear();
        link.script.clear();
        dialogs.clear();
        link.then(c.test).then(c.pe).then(c.n, Status(1).substr(0, c.n));
        tables::TransferProgress ops;
        EXPECT_EQ(articles::ClearRegisterSales(station, ops), c.n > 0);
        EXPECT_EQ(calledWith(), c.calls);
        EXPECT_EQ(shown(), Strings{c.box});
    }
}

// ---- cancel -------------------------------------------------------------------------------

// "Prekini" during the second article: that frame completes, the table is marked failed, the
// next selected table does not run, and the screen says how many articles were handled.
TEST_F(ArticleLine, CancelActsBetweenTwoRecords) {
    for (const char* code : {"000000000001", "000000000002", "000000000003"}) {
        addArticle(code, "A", "1");
    }
    tables::TransferRun run(station, tables::TransferDirection::Transmit);
    run.setSelected(1, true);
    run.setSelected(2, true);
    run.progress().changed = [&] {
        if (link.count("send_frame") == 2) {
            run.cancel();  // pressed as the second frame is taken
        }
    };
    EXPECT_FALSE(run.invia());
    EXPECT_EQ(link.count("send_frame"), 2);
    EXPECT_EQ(run.mark(1), tables::TransferMark::Failure);
    EXPECT_EQ(run.mark(2), tables::TransferMark::None);
    EXPECT_TRUE(run.cancelled());
    EXPECT_EQ(run.cancelNote(), "Prenos prekinut, obradjeno zapisa: 2");
    EXPECT_FALSE(run.running());
    run.progress().changed = nullptr;
    EXPECT_TRUE(run.invia());  // the next run starts afresh
    EXPECT_EQ(run.cancelNote(), "");
    EXPECT_EQ(link.count("send_frame"), 8);
}

// The receive screen's "delete" and "erase" keys run the operations it was handed.
TEST_F(ArticleLine, ReceiveScreenKeysRunTheirOperations) {
    tables::TransferRun run(station, tables::TransferDirection::Receive);
    ASSERT_TRUE(run.deleteArticles && run.eraseSales);
    Strings ran;
    run.deleteArticles = [&](Station&, tables::TransferProgress&) {
        ran.push_back(std::string("delete") + (run.running() ? " running" : ""));
        return true;
    };
    run.eraseSales = [&](Station&, tables::TransferProgress&) {
        ran.push_back("erase");
        return true;
    };
    EXPECT_FALSE(run.onToolbar("delete"));
    EXPECT_FALSE(run.onToolbar("erase"));
    EXPECT_EQ(ran, (Strings{"delete running", "erase"}));
    EXPECT_EQ(dialogs.busyChanges, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
}  // namespace qov::test
