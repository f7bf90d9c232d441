#pragma once

#include <string>

#include "app/shared_state.h"
#include "tables/record_loops.h"
#include "tables/transfer_context.h"

namespace qov::tables {

// The register reports rates 0 to 8; the table holds positions 0 to 9.
inline constexpr int kVatRatesReceived = 9;
inline constexpr int kVatPositions = 10;

// Frame "D": the request for rate `number` (0-8).
std::string VatRequest(int number);

// Stores a "D" reply: its first two characters select the position (their numeric value, no
// offset); the rate (4 characters) as received, the sales total / 100 written without blanks.
// Gives the table up when the number names no position (10 or more, or below 0).
StoredReply StoreVatReply(SharedState& state, const std::string& reply);

ReceiveTable VatReceive(SharedState& state);

// Reads rates 0 to 8 (frame "D"). There is no transmit: rates come from the register or the
// program file.
bool ricevi_Iva(TransferContext& ctx);

}  // namespace qov::tables
