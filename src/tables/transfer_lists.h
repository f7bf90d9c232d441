#pragma once

#include <string>
#include <vector>

#include "tables/transfer_context.h"

namespace qov::tables {

// One entry of a transfer screen's list. The lists are fixed; a table's procedure is filled
// in where that table's code exists, and an entry without one runs nothing and fails.
struct TransferEntry {
    std::string name;             // the command-line name ("departments", ...)
    std::string text;             // the list text ("Odeljenja", ...)
    std::string caption;          // the progress caption while it runs ("Odeljenje:", ...)
    TransferProcedure procedure;  // empty until the table's procedure exists
};

enum class TransferDirection { Transmit, Receive };

// The transmit list of frmtrasm and the receive list of frmRicevi, in their fixed order.
const std::vector<TransferEntry>& TransmitList();
const std::vector<TransferEntry>& ReceiveList();
const std::vector<TransferEntry>& TransferList(TransferDirection direction);

// The position of the entry named `name` in a list, or -1.
int FindTransferEntry(TransferDirection direction, const std::string& name);

// The names of the entries whose procedure exists, in list order.
std::vector<std::string> WorkingTransferNames(TransferDirection direction);

}  // namespace qov::tables
