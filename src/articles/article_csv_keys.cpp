#include "articles/article_csv_keys.h"

#include "articles/article_csv.h"

namespace qov::articles {

namespace {
constexpr const char* kCsvFilter = "CSV datoteke (*.csv)|*.csv";
}

bool ImportCsvChosenByUser(Station& station, const std::string& sender) {
    const std::string file =
        station.dialogs.openFile({"Uvoz artikala iz CSV datoteke", "", kCsvFilter, ""});
    if (file.empty()) {
        return false;
    }
    return ImportArticlesFile(station, file, RefusedRows::Ask, sender);
}

bool ExportCsvChosenByUser(Station& station, const std::string& table, const std::string& sender) {
    const std::string file =
        station.dialogs.saveFile({"Izvoz artikala u CSV datoteku", "", kCsvFilter, "artikli.csv"});
    if (file.empty()) {
        return false;
    }
    MessageBox question{"Nazive zapisati cirilicnim slovima?",
                        kTitle,
                        Icon::None,
                        Buttons::YesNo,
                        Answer::No,
                        {},
                        0};
    const bool cyrillic = station.dialogs.show(question) == Answer::Yes;
    return ExportArticlesFile(station, table, cyrillic, file, sender);
}

}  // namespace qov::articles
