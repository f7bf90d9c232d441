#pragma once

#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::articles {

// "Brisanje Artikala": deletes the register's articles one by one, always the first one left
// ("PTFIRST", then "PD" + its code), as many times as the register's count says. Stops at the
// first refusal with the daily-report question, and between two articles on a cancel. True
// when every pass was made.
bool DeleteRegisterArticles(Station& station, tables::TransferProgress& progress);

// "Brisanje Prodaje": clears the register's sales ("PE") and waits for the register to finish.
// True when the register said it was done.
bool ClearRegisterSales(Station& station, tables::TransferProgress& progress);

}  // namespace qov::articles
