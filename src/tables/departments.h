#pragma once

#include <optional>
#include <string>

#include "app/shared_state.h"
#include "tables/record_loops.h"
#include "tables/transfer_context.h"

namespace qov::tables {

inline constexpr int kDepartmentCount = 10;
inline constexpr std::size_t kDepartmentNameWidth = 12;
inline constexpr std::size_t kDepartmentPriceWidth = 8;

// Maximum price as frame "R" carries it: the field's numeric value (blank = 0) written
// without blanks and zero-filled on the left to 8 characters.
std::string DepartmentPriceField(const std::string& maxPrice);

// Frame "R" for department `number` (1-10) as the record stands: "R", number - 1 as two
// digits, the description cut or padded to 12 (register text when CyrillicLanguage is on),
// the 8-digit maximum price. Changes nothing.
std::string DepartmentFrame(const SharedState& state, int number);

// Frame "B": the request for department `number` (1-10).
std::string DepartmentRequest(int number);

// Prepares department `number` for sending as invia_rep does (script form and padding written
// back) and builds its frame; nothing when its description is blank.
std::optional<OutgoingRecord> PrepareDepartment(SharedState& state, int number);

// Stores a "B" reply: its first two characters select the department (their numeric value
// + 1); the description (NUL-ended, padded to 12), maximum price, sales value and quantity sold
// are taken from it. Gives the stored description, or gives the table up when the number
// names no department (10 or more, or below 0).
StoredReply StoreDepartmentReply(SharedState& state, const std::string& reply);

// The two parts of the record loops that departments supply.
TransmitTable DepartmentTransmit(SharedState& state);
ReceiveTable DepartmentReceive(SharedState& state);

// Sends departments 1 to 10 (frame "R").
bool invia_rep(TransferContext& ctx);
// Reads departments 1 to 10 back (frame "B").
bool ricevi_rep(TransferContext& ctx);

}  // namespace qov::tables
