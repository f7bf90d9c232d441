#pragma once

#include <optional>
#include <string>

#include "app/shared_state.h"
#include "tables/record_loops.h"
#include "tables/transfer_context.h"

namespace qov::tables {

inline constexpr int kUnitCount = 5;
inline constexpr int kArticleTypeCount = 8;
inline constexpr std::size_t kUnitNameWidth = 3;
inline constexpr std::size_t kArticleTypeNameWidth = 12;

// Frame "QR" for unit `pos` (1-5) as the record stands: "QR", the digit, the name (register
// text when CyrillicLanguage is on) padded to 3, a longer name sent whole. Changes nothing.
std::string UnitFrame(const SharedState& state, int pos);

// Frame "ZR" for type `pos` (1-8) as the record stands: "ZR", the digit, the name (register
// text when CyrillicLanguage is on) trimmed and cut to 12; a shorter one followed by one NUL
// and blanks up to 12. Changes nothing.
std::string ArticleTypeFrame(const SharedState& state, int pos);

// Frames "QT" and "ZT": the requests for unit `pos` and type `pos`.
std::string UnitRequest(int pos);
std::string ArticleTypeRequest(int pos);

// Prepare a record as invia_units / invia_tip do (the name in the script form written back)
// and build its frame; nothing when the name is blank. A unit is tested before it is folded,
// a type after.
std::optional<OutgoingRecord> PrepareUnit(SharedState& state, int pos);
std::optional<OutgoingRecord> PrepareArticleType(SharedState& state, int pos);

// Store a "QT" / "ZT" reply into the record requested (the reply's number is not read): the
// name from position 2, NUL-ended, padded to 3 / 12.
StoredReply StoreUnitReply(SharedState& state, int pos, const std::string& reply);
StoredReply StoreArticleTypeReply(SharedState& state, int pos, const std::string& reply);

TransmitTable UnitTransmit(SharedState& state);
TransmitTable ArticleTypeTransmit(SharedState& state);
ReceiveTable UnitReceive(SharedState& state);
ReceiveTable ArticleTypeReceive(SharedState& state);

// Units 1 to 5 ("QR" / "QT") and article types 1 to 8 ("ZR" / "ZT").
bool invia_units(TransferContext& ctx);
bool ricevi_units(TransferContext& ctx);
bool invia_tip(TransferContext& ctx);
bool ricevi_tip(TransferContext& ctx);

}  // namespace qov::tables
