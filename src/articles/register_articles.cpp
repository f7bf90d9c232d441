#include "articles/register_articles.h"

#include <string>

#include "tables/fields.h"

namespace qov::articles {

namespace {

constexpr const char* kLinkDown = "Veza nije u redu!";
constexpr const char* kNotDone = "Operacija nije izvrsena !";

bool LinkAnswers(Station& station) {
    if (station.link.testConnection() == 0) {
        return true;
    }
    station.dialogs.message(kLinkDown, kTitle, Icon::Critical);
    return false;
}

}  // namespace

bool DeleteRegisterArticles(Station& station, tables::TransferProgress& progress) {
    if (!LinkAnswers(station)) {
        return false;
    }
    LinkCalls& link = station.link;
    const int n = link.requestFrame("n");
    if (n <= 0) {
        station.dialogs.message("Komunikacija nije dobra !", kTitle, Icon::Critical);
        return false;
    }
    // The count of characters 11-15; a reply too short to hold one counts nothing.
    const int count =
        static_cast<int>(tables::NumericValue(tables::ReplyField(station.state.ReplyText, 11, 5)));
    int remaining = count;
    link.requestFrame("PTFIRST");  // its reply is not used
    progress.setCaption("Artikal:");
    progress.start(count);
    for (int pass = 0; pass < count; ++pass) {
        if (progress.cancelRequested()) {
            return false;
        }
        const int first = link.requestFrame("PTFIRST");
        if (first < 0) {
            return false;
        }
        if (first > 0) {
            const std::string code = link.replyText(first, true).substr(0, 12);
            if (link.sendFrame("PD" + code) != 0) {
                station.dialogs.message(
                    "Operacija brisanja nije izvrsena! Da li ste izvrsili dnevni izvestaj ?",
                    "Arvon Cash Registers ", Icon::Critical);
                return false;
            }
        }
        --remaining;
        progress.setCounter(remaining);
        progress.setDone(count - remaining);
        station.dialogs.yield();
    }
    station.dialogs.yield();
    return true;
}

bool ClearRegisterSales(Station& station, tables::TransferProgress&) {
    if (!LinkAnswers(station)) {
        return false;
    }
    if (station.link.sendFrame("PE") != 0) {
        station.dialogs.message(kNotDone, kTitle, Icon::Critical);
        return false;
    }
    if (station.link.requestFrame120s("n") > 0) {
        station.dialogs.message("Operacija izvrsena !", kTitle, Icon::Information);
        return true;
    }
    station.dialogs.message(kNotDone, kTitle, Icon::Critical);
    return false;
}

}  // namespace qov::articles
