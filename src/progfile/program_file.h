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
//
// `reason`, when given, receives what a reader of a log needs beside the box: "file not
// found", "not a regular file", "no VERSION=... in [QOVCOM]", or which key did not convert.
bool LoadProgramFile(SharedState& state, Dialogs& dialogs, std::string* reason = nullptr);

// The parts of the program file, for a save that replaces only some of them.
enum ProgramSection : unsigned {
    kHeaderSection = 1u << 0,
    kAdvertSection = 1u << 1,
    kDepartmentSection = 1u << 2,
    kOperatorSection = 1u << 3,
    kVatSection = 1u << 4,
    kSystemSection = 1u << 5,
    kCurrencySection = 1u << 6,
    kUnitSection = 1u << 7,
    kTypeSection = 1u << 8,
    kLineSection = 1u << 9,  // port, speed, language, width, telephone
    kAllSections = (1u << 10) - 1,
};

// Writes every key of the set-up to the file named by ProgramFilePath; keys of the file that
// are not written stay as they are. The file is replaced whole or not at all. A failure shows
// its description in a plain box and returns false.
//
// With `sections` other than kAllSections, only those parts are written (and the VERSION mark
// when the file is new); every other line of the file stays as it was.
bool SaveProgramFile(const SharedState& state, Dialogs& dialogs, unsigned sections = kAllSections);

}  // namespace qov
