#pragma once

#include "link/station.h"

namespace qov {

// What the main window's loading does besides the window itself, shared with qovctl.

// The default register tables and the start values of the codings and the line set-up.
void SetStartValues(SharedState& state);

struct StoredLineOptions {
    bool openLine = true;             // Init_RS232bd with the stored port and speed
    bool emptyReceivedTables = true;  // empty QOV_PLU_RCV and QOV_PLU_RCV_SOLD
};

// Closes the line, reads the PORT row into PortNumber, BaudRate, PhoneNumber and
// DialCommand and, when there is a row, opens the line with them. Throws RunError when the
// database cannot be read or a stored value does not convert; the connection is closed
// either way.
void LoadStoredLine(Station& station, StoredLineOptions options = {});

}  // namespace qov
