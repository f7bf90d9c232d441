#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "articles/article_store.h"
#include "link/station.h"

namespace qov::articles {

// Articles as CSV, for price lists kept in spreadsheets. UTF-8 (a byte-order mark accepted),
// a header row naming the columns, ";" between fields (or "," when the header uses it), fields
// quoted as spreadsheets quote them, CRLF or LF line ends, a decimal point or comma in numbers.
// The index columns hold the editor's list positions (0-based).
inline constexpr const char* kCsvHeader =
    "BAR_CODE;DESCRIPTION;PRICE;VAT_CODE;MES_TYPE;ART_TYPE;ONE_ITEM;DEPARTMENT;INVENTARY";
// Received tables add the register's sales; an import ignores them.
inline constexpr const char* kCsvSalesColumns = ";TOTAL;QTY";

// A row of the file that the import refuses: its line number and why.
struct CsvRefusal {
    int line = 0;
    std::string message;
};

// An import checked and ready to store. Each row went through the editor's own rules: the
// price and stock formatted as on leaving their fields, then the editor's validation.
struct CsvImportPlan {
    std::string fileError;            // set: the whole file is refused (header, encoding)
    std::vector<ArticleValues> rows;  // the accepted rows, in file order
    std::vector<CsvRefusal> refused;
    int renamed = 0;  // names whose letters Č Ć Š Ž Đ were written C C S Z Dj
};

// What the editor's fields allow: the name field's length (18 while LineWidth is 22, else 28)
// and the maximum price.
struct ImportRules {
    int nameLimit = 28;
    double maxPrice = 0;
};
ImportRules ImportRulesOf(const SharedState& state);

// Checks a file's bytes for the import.
CsvImportPlan PlanArticleImport(std::string_view fileBytes, const ImportRules& rules);

// Stores the accepted rows into QOV_PLU in one transaction: new codes inserted, existing codes
// updated. Any failure rolls everything back and is reported under `sender`.
struct CsvImportCounts {
    int inserted = 0;
    int updated = 0;
};
bool StoreArticleImport(Station& station, const CsvImportPlan& plan, CsvImportCounts& counts,
                        const std::string& sender);

// What to do with refused rows: import nothing, import the good rows, or ask the user
// "Uvesti ispravne redove?".
enum class RefusedRows { ImportNone, ImportValid, Ask };

// The whole import of a file as the editor and qovctl run it: read, check, report refused rows
// (with their line numbers and the editor's messages), store, report the counts. True when
// the file was imported (possibly without its refused rows).
bool ImportArticlesFile(Station& station, const std::filesystem::path& file, RefusedRows policy,
                        const std::string& sender);

// The rows of an article CSV text as records, without the editor's checks (a backup's or a
// price list's articles, to compare or to send back as they are): names as register-side
// bytes as the import makes them, numbers with a decimal point, TOTAL and QTY when the file has
// them. False, with `error` naming the line, for a text that is not an article CSV or a row
// that cannot be read.
bool ReadArticleCsvRecords(std::string_view fileBytes, std::vector<ArticleRecord>& rows,
                           std::string& error);

// The rows of an article table as CSV text (UTF-8): the stored bytes as Latin-1 letters, or
// with `cyrillic` the display-font letters of the names as Cyrillic letters.
std::string ArticlesCsvText(Database& db, const std::string& table, bool cyrillic);

// Writes ArticlesCsvText of `table` to `file` (replaced whole, or left as it was on failure).
bool ExportArticlesFile(Station& station, const std::string& table, bool cyrillic,
                        const std::filesystem::path& file, const std::string& sender);

// The list lines of a table as its screen shows them, one per listed article, the columns
// joined by tabs: code and name, price, stock; received tables also quantity and value.
bool ArticleListLines(Station& station, const std::string& table, std::vector<std::string>& lines);

}  // namespace qov::articles
