#pragma once

#include <optional>
#include <string>

#include "app/shared_state.h"
#include "tables/record_loops.h"
#include "tables/transfer_context.h"

namespace qov::tables {

inline constexpr int kCurrencyCount = 4;
inline constexpr std::size_t kCurrencyNameWidth = 12;
inline constexpr std::size_t kCurrencyRateWidth = 9;

// Frame "U" for currency `pos` (1-4) as the record stands: "U", pos - 1 as one digit, the name
// cut or padded to 12 (register text when CyrillicLanguage is on), the rate zero-filled on the
// left to 9 with its separator as held. Changes nothing.
std::string CurrencyFrame(const SharedState& state, int pos);

// Frame "M": the request for currency `pos` (1-4).
std::string CurrencyRequest(int pos);

// Prepares currency `pos` as invia_val does (name in the script form and padded to 12, rate
// zero-filled to 9, both written back) and builds its frame; nothing when the name is blank.
std::optional<OutgoingRecord> PrepareCurrency(SharedState& state, int pos);

// Stores an "M" reply: its first character selects the currency (its numeric value + 1); name
// (NUL-ended, padded to 12) and rate as received. Gives the table up when the number names no
// currency (4 or more, or below 0).
StoredReply StoreCurrencyReply(SharedState& state, const std::string& reply);

TransmitTable CurrencyTransmit(SharedState& state);
ReceiveTable CurrencyReceive(SharedState& state);

// Sends currencies 1 to 4 (frame "U").
bool invia_val(TransferContext& ctx);
// Reads currencies 1 to 4 back (frame "M").
bool ricevi_val(TransferContext& ctx);

}  // namespace qov::tables
