#pragma once

#include <string>

#include "link/station.h"

namespace qov::articles {

// The CSV keys of the article screens ("Uvoz CSV", "Izvoz CSV"): the file dialogs and the
// question, then the import or export itself.

// Asks for a CSV file and imports it into QOV_PLU (refused rows: the user decides whether the
// good rows go in). True when articles were stored.
bool ImportCsvChosenByUser(Station& station, const std::string& sender);

// Asks for a file name and whether the names go out in Cyrillic letters, then exports `table`.
bool ExportCsvChosenByUser(Station& station, const std::string& table, const std::string& sender);

}  // namespace qov::articles
