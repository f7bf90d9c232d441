#include "articles/article_receive.h"

#include <exception>
#include <optional>

#include "app/database.h"
#include "app/run_error.h"
#include "app/show_error.h"
#include "app/vb_convert.h"
#include "tables/fields.h"
#include "tables/record_loops.h"
#include "text/transcode.h"

namespace qov::articles {

namespace {

using tables::NumericValue;
using tables::ReplyField;
using tables::TrimBlanks;

constexpr const char* kNotDelivered = "Greska pri prenosu podataka!";

enum class ReceiveKind { Articles, Sold };

std::string Number(const std::string& reply, std::size_t from, std::size_t width,
                   double divisor = 1) {
    return SqlNumber(NumericValue(ReplyField(reply, from, width)) / divisor);
}

// The department goes into the statement as received when it is a number of digits; anything
// else the line may bring is written by the leading-number rule, so it never breaks the
// statement.
std::string Department(const std::string& reply) {
    std::string field = TrimBlanks(ReplyField(reply, 13, 2));
    if (!field.empty() && field.find_first_not_of("0123456789") == std::string::npos) {
        return field;
    }
    return SqlNumber(NumericValue(field));
}

// The article count of the status reply, characters 11-15. A reply without them holds no
// count: a run-time failure, as the conversion of an empty text is.
int StatusCount(const std::string& reply) {
    return ToInteger32(ReplyField(reply, 11, 5));
}

bool ReceiveArticles(tables::TransferContext& ctx, ReceiveKind kind) {
    Station& station = ctx.station;
    SharedState& state = station.state;
    Database& db = station.database;
    LinkCalls& link = station.link;
    tables::TransferProgress& progress = ctx.progress;
    const bool sold = kind == ReceiveKind::Sold;
    const std::string table = sold ? "QOV_PLU_RCV_SOLD" : "QOV_PLU_RCV";
    const std::string notDelivered = std::string(kNotDelivered) + kLineBreak;
    try {
        db.open(state.ConnectionString);
        db.execute("delete from " + table);

        const std::optional<int> status = tables::RequestRecord(
            station.dialogs, [&] { return link.requestFrame("n"); }, notDelivered);
        if (!status) {
            db.close();
            return false;
        }
        if (*status == -1) {
            station.dialogs.message("Komunikacija nije dobra!", kTitle, Icon::Exclamation);
            db.close();
            return false;
        }
        const int count = StatusCount(link.replyText(*status));
        progress.start(count);

        int inserted = 0;
        for (int k = 1; k <= count; ++k) {
            if (progress.cancelRequested()) {
                db.close();
                return false;
            }
            if (!sold) {
                progress.setCounter(k);
            }
            station.dialogs.yield();
            const std::string request = k == 1 ? "PTFIRST" : (sold ? "PTSOLD" : "PTNEXT");
            const std::optional<int> result = tables::RequestRecord(
                station.dialogs,
                [&] { return sold ? link.requestFrame120s(request) : link.requestFrame(request); },
                notDelivered);
            progress.setDone(k);
            if (!result || *result == -1) {
                db.close();
                return false;
            }
            const int n = *result;
            if (n == 0) {
                progress.setDone(count);  // the register has no more: the run is complete
                break;
            }
            if (n < 0) {
                if (sold) {
                    station.dialogs.message(std::to_string(n), kDefaultTitle);
                }
                continue;
            }
            const ReceivedArticle article = ReadArticleReply(state, link.replyText(n, true));
            if (sold && article.quantity == "0") {
                continue;
            }
            db.execute(ReceivedArticleInsert(table, article));
            if (sold) {
                progress.setCounter(++inserted);
            }
        }
        db.close();
        return true;
    } catch (const std::exception& e) {
        db.close();
        ShowError(station.dialogs, e,
                  sold ? "frmRicevi.ricevi_plu_sold()" : "frmRicevi.ricevi_plu()");
        return false;
    }
}

}  // namespace

ReceivedArticle ReadArticleReply(SharedState& state, const std::string& reply) {
    ReceivedArticle a;
    a.code = TrimBlanks(ReplyField(reply, 1, 12));
    a.department = Department(reply);
    a.name = tables::ReplyTextField(reply, 15, 28);
    if (HasNoLatinLetters(a.name)) {
        a.name = RegisterToFont(a.name);
        state.tableCyrillic(CyrTable::Articles) = true;
    }
    a.price = Number(reply, 43, 8, 100);
    a.single = Number(reply, 51, 1);
    a.vat = Number(reply, 52, 1);
    a.unit = Number(reply, 53, 1);
    a.type = Number(reply, 54, 1);
    a.sales = Number(reply, 55, 11, 100);
    a.quantity = Number(reply, 66, 9, 1000);
    a.stock = Number(reply, 75, 9, 1000);
    return a;
}

std::string ReceivedArticleInsert(const std::string& table, const ReceivedArticle& a) {
    return "INSERT INTO " + table +
           " (DESCRIPTION,MES_TYPE, ART_TYPE, PRICE, MAX_VALUE, VAT_CODE, ONE_ITEM, DEPARTMENT, "
           "BAR_CODE, TOTAL, QTY, INVENTARY ) values (" +
           SqlText(a.name) + ", " + a.unit + ", " + a.type + ", " + a.price + ", 0, " + a.vat +
           ", " + a.single + ", " + a.department + ", " + SqlText(a.code) + ", " + a.sales + ", " +
           a.quantity + ", " + a.stock + ")";
}

bool ricevi_plu(tables::TransferContext& ctx) {
    return ReceiveArticles(ctx, ReceiveKind::Articles);
}

bool ricevi_plu_sold(tables::TransferContext& ctx) {
    return ReceiveArticles(ctx, ReceiveKind::Sold);
}

}  // namespace qov::articles
