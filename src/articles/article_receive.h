#pragma once

#include <string>

#include "app/shared_state.h"
#include "tables/transfer_context.h"

namespace qov::articles {

// One article reply ("PTFIRST", "PTNEXT", "PTSOLD") read by its fixed positions, every value as
// it goes into the insert statement. The reply is taken with its commas already turned to points.
struct ReceivedArticle {
    std::string code;        // trimmed
    std::string department;  // the two characters, trimmed
    std::string name;        // up to the first NUL, padded to 28 (font text when it was decoded)
    std::string price, single, vat, unit, type, sales, quantity, stock;
};

// Reads the reply; a name without Latin letters is turned into font text and sets the
// articles' TableCyrillic flag.
ReceivedArticle ReadArticleReply(SharedState& state, const std::string& reply);

// The insert of one received article into `table` (QOV_PLU_RCV or QOV_PLU_RCV_SOLD).
std::string ReceivedArticleInsert(const std::string& table, const ReceivedArticle& article);

// The receive screen's "Artikli" and "Prodati artikli": empty the received table, ask the
// register for its count ("n"), then read the articles one by one. True when the run reached
// its end.
bool ricevi_plu(tables::TransferContext& ctx);
bool ricevi_plu_sold(tables::TransferContext& ctx);

}  // namespace qov::articles
