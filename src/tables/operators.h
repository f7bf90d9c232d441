#pragma once

#include <optional>
#include <string>

#include "app/shared_state.h"
#include "tables/record_loops.h"
#include "tables/transfer_context.h"

namespace qov::tables {

inline constexpr int kOperatorCount = 31;
inline constexpr std::size_t kOperatorNameWidth = 12;
inline constexpr std::size_t kOperatorCodeWidth = 5;

// Frame "O" for operator `pos` (1-31) as the record stands: "O", pos - 1 as two digits, the
// name cut or padded to 12 (register text when CyrillicLanguage is on), the access code
// right-aligned in 5. Changes nothing.
std::string OperatorFrame(const SharedState& state, int pos);

// Frame "E": the request for operator `pos` (1-31).
std::string OperatorRequest(int pos);

// Prepares operator `pos` as invia_op does (name in the script form and padded to 12, code
// right-aligned in 5, both written back) and builds its frame; nothing when the code is blank.
std::optional<OutgoingRecord> PrepareOperator(SharedState& state, int pos);

// Stores an "E" reply: its first two characters select the operator (their numeric value + 1);
// name (NUL-ended, padded to 12), code as received, sales value / 100 and receipt count
// written without blanks. Gives the table up when the number names no operator (31 or more,
// or below 0).
StoredReply StoreOperatorReply(SharedState& state, const std::string& reply);

TransmitTable OperatorTransmit(SharedState& state);
ReceiveTable OperatorReceive(SharedState& state);

// Sends operators 1 to 31 (frame "O").
bool invia_op(TransferContext& ctx);
// Reads operators 1 to 31 back (frame "E"); the operators' Cyrillic flag is kept at the start.
bool ricevi_op(TransferContext& ctx);

}  // namespace qov::tables
