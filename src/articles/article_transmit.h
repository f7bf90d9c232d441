#pragma once

#include <string>

#include "app/database.h"
#include "app/shared_state.h"
#include "articles/article_store.h"
#include "tables/transfer_context.h"

namespace qov::articles {

// One row of QOV_PLU as the transmit reads it: every column as the database gives its text.
// A row the article send leaves out: a blank name, an empty price, or a code that does not
// read as a number above 0.
bool IsIncompleteArticle(const ArticleRecord& article);

// The "PR" frame: code (12), department (2 or more), name (28, in the register's coding),
// price in hundredths (8), single-sale flag, VAT, unit and type indices.
std::string ArticleFrame(const SharedState& state, const ArticleRecord& article);

// The "PQ" frame: the code exactly as stored and the stock in thousandths (9).
std::string StockFrame(const ArticleRecord& article);

// The transmit screen's "Artikli" and "Lager artikala": every row of QOV_PLU in code order,
// one frame each. True when every row was handled.
bool invia_plu(tables::TransferContext& ctx);
bool invia_plu_inv(tables::TransferContext& ctx);

}  // namespace qov::articles
