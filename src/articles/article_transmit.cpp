#include "articles/article_transmit.h"

#include <cmath>
#include <exception>
#include <vector>

#include "app/run_error.h"
#include "app/show_error.h"
#include "articles/article_numbers.h"
#include "tables/fields.h"
#include "tables/record_loops.h"
#include "text/transcode.h"

namespace qov::articles {

namespace {

using tables::FitRight;
using tables::NumericValue;
using tables::PadLeft;
using tables::TrimBlanks;

enum class SendKind { Articles, Stock };

long long WholeNumber(const std::string& text) {
    return std::llround(NumericValue(text));
}

std::string Index(const std::string& text) {
    return std::to_string(WholeNumber(text));
}

// The name as the register takes it: the 28-character field in the script form of
// CyrillicMode, then in the register's coding when CyrillicLanguage is on.
std::string RegisterName(const SharedState& state, const std::string& description) {
    std::string name = FitRight(description, kNameWidth);
    name = FitRight(ConvertDigraphs(name, !state.CyrillicMode), kNameWidth);
    if (state.CyrillicLanguage) {
        name = FitRight(FontToRegister(name), kNameWidth);
    }
    return name;
}

// Price x 100 through its shortest decimal text, so 0.29 gives 29 and not 28.
long long Hundredths(const std::string& price) {
    return std::llround(NumericValue(SqlNumber(NumericValue(price) * 100)));
}

std::vector<ArticleRecord> ReadArticles(Database& db) {
    std::vector<ArticleRecord> rows;
    auto result = db.query(ListStatement(kArticleTable));
    while (result->next()) {
        rows.push_back(ReadArticle(*result));
    }
    return rows;
}

bool SendArticles(tables::TransferContext& ctx, SendKind kind) {
    Station& station = ctx.station;
    Database& db = station.database;
    tables::TransferProgress& progress = ctx.progress;
    try {
        db.open(station.state.ConnectionString);
        const std::vector<ArticleRecord> rows = ReadArticles(db);
        progress.start(static_cast<int>(rows.size()));
        if (kind == SendKind::Articles) {
            progress.setCounter(0);
            station.dialogs.yield();
        }
        int handled = 0;
        for (const ArticleRecord& row : rows) {
            if (progress.cancelRequested()) {
                db.close();
                return false;
            }
            bool sent = true;
            if (kind == SendKind::Stock) {
                sent = tables::SendRecord(
                    ctx, {StockFrame(row),
                          " Za artikal " + row.code + " nije azuriran lager!" + kLineBreak});
            } else if (!IsIncompleteArticle(row)) {
                sent = tables::SendRecord(
                    ctx, {ArticleFrame(station.state, row),
                          "Artikal " + row.code + " nije primljen u kasu!" + kLineBreak});
            }
            if (!sent) {
                db.close();
                return false;
            }
            ++handled;
            progress.setCounter(handled);
            progress.setDone(handled);
            station.dialogs.yield();
        }
        db.close();
        return true;
    } catch (const std::exception& e) {
        db.close();
        ShowError(station.dialogs, e,
                  kind == SendKind::Articles ? "frmTrasm.invia_plu()" : "frmTrasm.invia_plu_inv()");
        return false;
    }
}

}  // namespace

bool IsIncompleteArticle(const ArticleRecord& article) {
    return TrimBlanks(article.description).empty() || article.price.empty() ||
           !(NumericValue(TrimBlanks(article.code)) > 0);
}

std::string ArticleFrame(const SharedState& state, const ArticleRecord& article) {
    std::string frame = "PR";
    frame.reserve(58);
    frame += PadLeft(article.code, kCodeWidth, '0').substr(0, kCodeWidth);
    frame += tables::ZeroFilled(WholeNumber(article.department), 2);
    frame += RegisterName(state, article.description);
    frame += tables::ZeroFilled(Hundredths(article.price), 8);
    frame += article.singleSale ? "1" : "0";
    frame += Index(article.vatCode);
    frame += Index(article.unit);
    frame += Index(article.type);
    return frame;
}

std::string StockFrame(const ArticleRecord& article) {
    // Thousandths, halves to even on the decimal digits (2.0015 gives 2002).
    const double thousandths = std::round(RoundHalfEven(NumericValue(article.stock), 3) * 1000);
    const std::string digits = SqlNumber(thousandths).substr(0, 9);
    return "PQ" + article.code + PadLeft(digits, 9, '0');
}

bool invia_plu(tables::TransferContext& ctx) {
    return SendArticles(ctx, SendKind::Articles);
}

bool invia_plu_inv(tables::TransferContext& ctx) {
    return SendArticles(ctx, SendKind::Stock);
}

}  // namespace qov::articles
