// Comparing a register with a program file (and an article CSV file) before overwriting it:
// every field that differs, one line each, after the normalisations a send and a receive make
// (padding, script form, numbers written differently, the VAT rates' positions).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/shared_state.h"
#include "articles/article_store.h"
#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::backup {

// A text as the comparison sees it: up to the first NUL, cut to the frame field's `width`,
// the register's Cyrillic code as display-font text, with `commaToPoint` commas as points (an
// article reply's), Latin digraphs packed and unpacked again so that Latin and display-font
// spellings of a name meet, blanks around removed.
std::string ComparableText(std::string_view text, std::size_t width, bool commaToPoint = false);

// A number as the comparison sees it: blanks around removed, a decimal comma read as a point,
// leading zeros and trailing decimal zeros dropped ("00117,50000" gives "117.5"); nothing when
// the text is not a plain decimal number.
std::optional<std::string> ComparableNumber(std::string_view text);

// The differences between the tables of a program file (`file`, as LoadProgramFile leaves
// them) and those read from the register (`reg`), for the named tables, in the order
// departments, operators, currencies, vat, system, units, types. One line per field:
//   departments 3 description: "PICE" -> "PIVO"      (the register's value, then the file's)
//   vat 2 rate: 2000 -> 1800                          (TAX_2 against the register's rate 1)
// Texts are shown trimmed and quoted, numbers in their plain form.
std::vector<std::string> CompareTables(const SharedState& file, const SharedState& reg,
                                       const std::vector<std::string>& tables);

// The differences between the articles of a CSV file and the register's, by code (as a
// number), in code order: one line per field ("articles 25 price: 45.5 -> 47"), or
// "articles 25: not in the register" / "articles 31: not in the file". Prices count in
// hundredths and stock in thousandths, as the frames carry them.
std::vector<std::string> CompareArticles(const std::vector<articles::ArticleRecord>& file,
                                         const std::vector<articles::ArticleRecord>& reg);

struct DiffResult {
    std::vector<std::string> lines;   // the differences
    std::vector<std::string> failed;  // tables that could not be read (not compared)
    bool started = false;             // the files were read and the link answered
    bool cancelled = false;
    bool complete() const { return started && !cancelled && failed.empty(); }
};

// Reads the program file (and the article file when `articlesCsv` is given), then the
// register's tables (the station's tables and received-article tables stay as they were),
// and compares them. A file that cannot be read is reported in a box and nothing is read.
DiffResult DiffRegister(Station& station, tables::TransferProgress& progress,
                        const std::filesystem::path& programFile,
                        const std::optional<std::filesystem::path>& articlesCsv);

}  // namespace qov::backup
