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
    // The run on the sends' results and the boxes' answers: how it ends, the sends made, the
    // counter (9 before the run) and the boxes.
    auto send = [&](bool (*run)(tables::TransferContext&), std::vector<int> results,
                    std::deque<Answer> answers) {
        link.calls.clear();
        dialogs.clear();
        progress.setCounter(9);
        for (int result : results) {
            link.then(result);
        }
        dialogs.answers = answers;
        std::string out = run(ctx) ? "ok" : "failed";
        out += ", sent " + std::to_string(link.count("send_frame")) + ", counter " +
               progress.counter();
        for (const std::string& box : shown()) {
            out += "|" + box;
        }
        return out;
    };
    using articles::invia_plu, articles::invia_plu_inv;
    const std::string title = "|Arvon Cash Registers: ", retry = "\n [Retry/Cancel]";
    const std::string pr = title + "Artikal 000000000025 nije primljen u kasu!" + retry;
    EXPECT_EQ(send(invia_plu, {1, 0, 0}, {Answer::Retry}), "ok, sent 3, counter 2" + pr);
    EXPECT_EQ(send(invia_plu, {1}, {Answer::Cancel}), "failed, sent 1, counter 0" + pr);
    EXPECT_EQ(send(invia_plu_inv, {1}, {Answer::Cancel}),  // the counter was not reset
              "failed, sent 1, counter 9" + title +
                  " Za artikal 000000000025 nije azuriran lager!" + retry);
    EXPECT_EQ(send(invia_plu, {0, 2}, {}),
              "failed, sent 2, counter 1|Arvon CAsh Registers: Komunikacija je prekinuta! "
              "<exclamation>");
    EXPECT_EQ(send(invia_plu_inv, {3, -7}, {}), "ok, sent 2, counter 2");  // other results taken

    state.ModemMode = true;
    link.calls.clear();
    EXPECT_TRUE(invia_plu(ctx));
    EXPECT_EQ(link.textsOf("send_frameM").front(),
              "PR00000000002502" + Name28("HLEB") + "000045500100");

    dialogs.clear();
    state.ConnectionString = "Driver=SQLite;Database=/nonexistent/folder/x.db";
    EXPECT_FALSE(invia_plu_inv(ctx));
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
    auto receive = [&](const std::string& reply) {
        state.tableCyrillic(CyrTable::Articles) = false;
        link.replyTo("n", Status(1)).replyTo("PTFIRST", reply);
        EXPECT_TRUE(articles::ricevi_plu(ctx));
        Strings stored = rows("QOV_PLU_RCV");
        stored.push_back(state.tableCyrillic(CyrTable::Articles) ? "marked" : "not marked");
        return stored;
    };
    const std::string nul(1, '\0'), cyr = Reg({170, 216, 210, 208});  // "Wiva" in register code
    EXPECT_EQ(receive(Reply("000000000001", "01", "HLEB" + nul + "XYZ", 100, "0000")),
              (Strings{"000000000001|" + Name28("HLEB") + "|1|0|0|0|0|1|0|0|0|0", "not marked"}));
    // A comma is a point, junk is 0.
    EXPECT_EQ(receive("000000000002 2" + Name28("O'HARA") + "00012,50X1Z?00000012,50abc"),
              (Strings{"000000000002|" + Name28("O'HARA") + "|0.125|1|0|0|0|2|0.125|0|0|0",
                       "not marked"}));
    EXPECT_EQ(receive(Reply("000000000003", "09", cyr, 1, "0000")),
              (Strings{"000000000003|" + Name28("Wiva") + "|0.01|0|0|0|0|9|0|0|0|0", "marked"}));
    EXPECT_EQ(receive("   4"),  // short: the blank name marks
              (Strings{"4|" + std::string(28, ' ') + "|0|0|0|0|0|0|0|0|0|0", "marked"}));
}

// Every result of the status request and of the article requests, in both runs.
TEST_F(ArticleLine, ReceiveResultCases) {
    // Runs a receive on requests answered in turn. Articles: 1 replies kHleb, 2 kMleko, others
    // are the result; status: 0 or more is the count of a whole reply, kShort a reply without
    // characters 11-15. Gives how it ended, the codes stored, then the boxes.
    constexpr int kShort = 99;
    auto receive = [&](bool sold, std::vector<std::pair<std::string, int>> steps,
                       std::deque<Answer> answers = {}) {
        const std::string table = sold ? "QOV_PLU_RCV_SOLD" : "QOV_PLU_RCV";
        sql("INSERT INTO " + table + " (BAR_CODE) VALUES ('old')");
        dialogs.clear();
        link.calls.clear();
        Strings expected;
        for (const auto& [request, result] : steps) {
            const std::string op = request != "n" && sold ? "get_frame120s" : "get_frame";
            std::string reply = result == 1 ? kHleb : result == 2 ? kMleko : "";
            if (request == "n" && result >= 0) {
                reply = result == kShort ? "0100000" : Status(result);
            }
            link.expect(op, request, reply.empty() ? result : static_cast<int>(reply.size()),
                        reply);
            expected.push_back(op + " " + request);
        }
        dialogs.answers = answers;
        std::string out =
            (sold ? articles::ricevi_plu_sold(ctx) : articles::ricevi_plu(ctx)) ? "ok" : "failed";
        EXPECT_EQ(calledWith(), expected);
        for (const std::string& row : rows(table)) {
            out += " " + row.substr(0, row.find('|'));
        }
        for (const std::string& box : shown()) {
            out += "|" + box;
        }
        return out;
    };
    const std::string retry =
        "|Arvon Cash Registers: Greska pri prenosu podataka!\n [Retry/Cancel]";
    const std::string hleb = " 000000000025", mleko = " 000000000031";
    const Answer R = Answer::Retry, C = Answer::Cancel;
    EXPECT_EQ(receive(false, {{"n", 0}}), "ok");  // the table emptied, nothing asked
    EXPECT_EQ(receive(false, {{"n", -4}, {"n", 0}}, {R}), "ok" + retry);
    EXPECT_EQ(receive(false, {{"n", -5}}, {C}), "failed" + retry);
    EXPECT_EQ(receive(false, {{"n", -1}}),
              "failed|Arvon Cash Registers: Komunikacija nije dobra! <exclamation>");
    EXPECT_EQ(receive(false, {{"n", kShort}}),
              "failed|Arvon Cash Registers(Sender:='frmRicevi.ricevi_plu()'): 13 - Type "
              "mismatch <critical>");
    EXPECT_EQ(
        receive(false, {{"n", 3}, {"PTFIRST", 1}, {"PTNEXT", -5}, {"PTNEXT", 2}, {"PTNEXT", 0}},
                {R}),  // Retry asks PTNEXT again
        "ok" + hleb + mleko + retry);
    EXPECT_EQ(receive(false, {{"n", 3}, {"PTFIRST", 1}, {"PTNEXT", -4}}, {C}),
              "failed" + hleb + retry);
    EXPECT_EQ(receive(false, {{"n", 3}, {"PTFIRST", 1}, {"PTNEXT", -1}}), "failed" + hleb);
    EXPECT_EQ(receive(false, {{"n", 2}, {"PTFIRST", -3}, {"PTNEXT", 2}}), "ok" + mleko);
    // Sold: unsold articles are not stored, other negatives shown; the counter counts rows.
    EXPECT_EQ(receive(true, {{"n", 3}, {"PTFIRST", 1}, {"PTSOLD", -2}, {"PTSOLD", 2}}),
              "ok" + mleko + "|QovCom: -2");
    EXPECT_EQ(progress.counter(), "1");
    EXPECT_EQ(receive(true, {{"n", 3}, {"PTFIRST", 2}, {"PTSOLD", 0}}), "ok" + mleko);
    EXPECT_EQ(progress.counter(), "1");
}

// ---- the register's articles and sales ----------------------------------------------------

// The operations on the register: the calls they make, then the boxes after " / ".
TEST_F(ArticleLine, DeleteAllStopsAtTheFirstRefusal) {
    auto deleteAll = [&](int test, const std::string& status, std::vector<int> deletes) {
        link.calls.clear();
        dialogs.clear();
        link.expect("Testconnessione", "", test);
        if (test == 0) {
            link.expect("get_frame", "n", static_cast<int>(status.size()), status);
        }
        if (!status.empty()) {
            link.replyTo("PTFIRST", kMleko);  // not used
        }
        for (int result : deletes) {  // each PD frame after a PTFIRST
            link.replyTo("PTFIRST", kHleb).expect("send_frame", "", result);
            link.script.back().checkText = false;
        }
        tables::TransferProgress ops;
        const bool ok = articles::DeleteRegisterArticles(station, ops);
        EXPECT_EQ(ok ? ops.counter() : "0", "0");
        std::string out = ok ? "ok" : "failed";
        for (const std::string& call : calledWith()) {
            out += ", " + call;
        }
        for (const std::string& box : shown()) {
            out += " / " + box;
        }
        return out;
    };
    const std::string start = ", Testconnessione, get_frame n, get_frame PTFIRST";
    const std::string pd = ", get_frame PTFIRST, send_frame PD000000000025";
    EXPECT_EQ(deleteAll(0, Status(2), {0, 0}), "ok" + start + pd + pd);
    EXPECT_EQ(deleteAll(0, Status(5), {1}),
              "failed" + start + pd +
                  " / Arvon Cash Registers : Operacija brisanja nije izvrsena! Da li ste "
                  "izvrsili dnevni izvestaj ? <critical>");
    EXPECT_EQ(deleteAll(1, "", {}),
              "failed, Testconnessione / Arvon Cash Registers: Veza nije u redu! <critical>");
    EXPECT_EQ(deleteAll(0, "", {}),
              "failed, Testconnessione, get_frame n / Arvon Cash Registers: Komunikacija nije "
              "dobra ! <critical>");
}

TEST_F(ArticleLine, ClearSales) {
    // The results of the connection test and of "PE", the length of the status reply after it.
    auto clear = [&](int test, int pe, int n) {
        link.calls.clear();
        link.script.clear();
        dialogs.clear();
        link.then(test).then(pe).then(n, Status(1).substr(0, n));
        tables::TransferProgress ops;
        EXPECT_EQ(articles::ClearRegisterSales(station, ops), n > 0);
        std::string out;
        for (const std::string& call : calledWith()) {
            out += call + ", ";
        }
        for (const std::string& box : shown()) {
            out += "/ " + box;
        }
        return out;
    };
    const std::string all = "Testconnessione, send_frame PE, ", title = "/ Arvon Cash Registers: ";
    const std::string failed = title + "Operacija nije izvrsena ! <critical>";
    EXPECT_EQ(clear(0, 0, 15), all + "get_frame120s n, " + title + "Operacija izvrsena ! <info>");
    EXPECT_EQ(clear(0, 0, 0), all + "get_frame120s n, " + failed);  // no reply after PE
    EXPECT_EQ(clear(0, 1, 0), all + failed);                        // PE refused
    EXPECT_EQ(clear(1, 0, 0), "Testconnessione, " + title + "Veza nije u redu! <critical>");
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
