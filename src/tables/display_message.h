#pragma once

#include <string>

#include "app/shared_state.h"
#include "tables/transfer_context.h"

namespace qov::tables {

// Every message line goes into frame "k" padded to this width (a line is never cut).
inline constexpr std::size_t kMessageFieldWidth = 32;

// How many characters a message line takes: 22 when LineWidth is 22, else 32.
int MessageLineLength(const SharedState& state);

// Brings the three lines into the script form of CyrillicMode (the text part of the
// transmit screen's DoChangeLang).
void ConvertMessageLines(const SharedState& state, MessageLines& lines);

// Frame "k": each line padded to 32 (register text when CyrillicLanguage is on).
std::string MessageFrame(const SharedState& state, const MessageLines& lines);

// Sends the message of the transmit screen's panel (frame "k") as one record.
// False when there is no panel or the run was abandoned.
bool Posalji_Msg(TransferContext& ctx);

}  // namespace qov::tables
