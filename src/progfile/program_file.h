#pragma once

#include <string>

#include "app/dialogs.h"
#include "app/shared_state.h"

namespace qov {

// The program file: the register set-up (header and advertisement lines, departments,
// operators, VAT rates, system parameters, currencies, units, article types, line set-up) in
// an INI file. Articles are not in it.

// The value of [QOVCOM] VERSION that marks a program file.
inline constexpr const char* kProgramFileVersion = "QKRTNWZA480213";

// The title of the plain boxes that report a failure while reading or writing the file.
inline constexpr const char* kProgramTitle = "QovCom";

// Reads the file named by ProgramFilePath into the tables. Returns true when the file was
// valid and read whole. A file whose VERSION is not kProgramFileVersion shows "Fajl nije
// validan" and changes nothing. A failure on the way (a PORT, SPEED, WDTH or LNG that does not
// convert, an unreadable file) shows the failure's description in a plain box and returns
// false; the tables keep what was read before it.
bool LoadProgramFile(SharedState& state, Dialogs& dialogs);

// Writes every key of the set-up to the file named by ProgramFilePath; keys of the file that
// are not written stay as they are. The file is replaced whole or not at all. A failure shows
// its description in a plain box and returns false.
bool SaveProgramFile(const SharedState& state, Dialogs& dialogs);

}  // namespace qov
