#include "backup/compare.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <memory>

#include "app/run_error.h"
#include "app/show_error.h"
#include "backup/register_read.h"
#include "progfile/program_file.h"
#include "qovdll/trace_decoder.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::backup {

namespace {

using tables::TrimBlanks;

constexpr std::size_t kWhole = std::string::npos;  // a field sent whole

std::string CutAtNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

// A value as a difference line shows it: a number in its plain form, else the trimmed text.
std::string Shown(std::string_view text, std::size_t width, bool number) {
    if (number) {
        if (const auto n = ComparableNumber(text)) {
            return *n;
        }
    }
    return qovdll::QuotedRegisterText(TrimBlanks(CutAtNul(text).substr(0, width)));
}

// Adds "PREFIX field: REG -> FILE" when the two values differ.
struct Lines {
    std::vector<std::string>& out;
    std::string prefix;

    void text(const char* field, const std::string& reg, const std::string& file, std::size_t width,
              bool commaToPoint = false) {
        if (ComparableText(reg, width, commaToPoint) != ComparableText(file, width, commaToPoint)) {
            add(field, Shown(reg, width, false), Shown(file, width, false));
        }
    }
    void number(const char* field, const std::string& reg, const std::string& file) {
        const auto r = ComparableNumber(reg);
        const auto f = ComparableNumber(file);
        const bool same = r && f ? *r == *f : !r && !f && TrimBlanks(reg) == TrimBlanks(file);
        if (!same) {
            add(field, Shown(reg, kWhole, true), Shown(file, kWhole, true));
        }
    }
    void add(const char* field, const std::string& reg, const std::string& file) {
        out.push_back(prefix + " " + field + ": " + reg + " -> " + file);
    }
};

bool Wanted(const std::vector<std::string>& tables, const char* name) {
    return std::find(tables.begin(), tables.end(), name) != tables.end();
}

// A price or a stock in the units a frame carries it (hundredths, thousandths), back as a
// plain decimal number; a text that is not a number stays as it is.
std::string InUnits(const std::string& text, int decimals) {
    if (!ComparableNumber(text)) {
        return text;
    }
    const long long scale = decimals == 2 ? 100 : 1000;
    const long long units =
        std::llround(tables::NumericValue(tables::ReplaceAll(TrimBlanks(text), ",", ".")) *
                     static_cast<double>(scale));
    const long long whole = std::llabs(units) / scale;
    std::string fraction = std::to_string(std::llabs(units) % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return std::string(units < 0 ? "-" : "") + std::to_string(whole) + "." + fraction;
}

// The key of an article: its code as a number (25 and 000000000025 meet), else as written.
std::string ArticleKey(const std::string& code) {
    const auto n = ComparableNumber(code);
    return n ? *n : TrimBlanks(code);
}

// Numbers first, in numeric order, then other keys.
bool KeyBefore(const std::string& a, const std::string& b) {
    const bool na = ComparableNumber(a).has_value();
    const bool nb = ComparableNumber(b).has_value();
    if (na != nb) {
        return na;
    }
    if (na && a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

}  // namespace

std::string ComparableText(std::string_view text, std::size_t width, bool commaToPoint) {
    std::string s = CutAtNul(text).substr(0, width);
    s = RegisterToFont(s);
    if (commaToPoint) {
        std::replace(s.begin(), s.end(), ',', '.');
    }
    return TrimBlanks(ConvertDigraphs(ConvertDigraphs(s, false), true));
}

std::optional<std::string> ComparableNumber(std::string_view text) {
    const std::string t = TrimBlanks(text);
    std::size_t i = 0;
    std::string sign;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        sign = t[i] == '-' ? "-" : "";
        ++i;
    }
    std::string whole, fraction;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        whole.push_back(t[i++]);
    }
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            fraction.push_back(t[i++]);
        }
    }
    if (i != t.size() || (whole.empty() && fraction.empty())) {
        return std::nullopt;
    }
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (whole.empty()) {
        whole = "0";
    }
    if (whole == "0" && fraction.empty()) {
        sign.clear();
    }
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::vector<std::string> CompareTables(const SharedState& file, const SharedState& reg,
                                       const std::vector<std::string>& tables) {
    std::vector<std::string> out;
    auto at = [&out](const std::string& prefix) { return Lines{out, prefix}; };
    if (Wanted(tables, "departments")) {
        for (int n = 1; n <= 10; ++n) {
            at("departments " + std::to_string(n))
                .text("description", reg.DepartmentTable[n].description,
                      file.DepartmentTable[n].description, 12);
        }
    }
    if (Wanted(tables, "operators")) {
        for (int n = 1; n <= 31; ++n) {
            Lines lines = at("operators " + std::to_string(n));
            lines.number("code", reg.OperatorTable[n].code, file.OperatorTable[n].code);
            lines.text("name", reg.OperatorTable[n].name, file.OperatorTable[n].name, 12);
        }
    }
    if (Wanted(tables, "currencies")) {
        for (int n = 1; n <= 4; ++n) {
            Lines lines = at("currencies " + std::to_string(n));
            lines.text("name", reg.CurrencyTable[n].name, file.CurrencyTable[n].name, 12);
            lines.number("rate", reg.CurrencyTable[n].rate, file.CurrencyTable[n].rate);
        }
    }
    if (Wanted(tables, "vat")) {
        // The register's rate n sits under TAX_<n+1> in a program file.
        for (int n = 1; n <= 9; ++n) {
            at("vat " + std::to_string(n))
                .number("rate", reg.VatTable[n - 1].rate, file.VatTable[n].rate);
        }
    }
    if (Wanted(tables, "system")) {
        // The graphics' switches are not carried by the frames: their numbers are.
        const SystemParamsT& r = reg.SystemParams;
        const SystemParamsT& f = file.SystemParams;
        Lines lines = at("system");
        lines.number("cash", r.CASH, f.CASH);
        lines.number("print", r.PRINT, f.PRINT);
        lines.number("grafica1_img", r.GRAFICA1_IMG, f.GRAFICA1_IMG);
        lines.number("grafica2_img", r.GRAFICA2_IMG, f.GRAFICA2_IMG);
        lines.number("obligate", r.OBLIGATE, f.OBLIGATE);
        lines.number("single", r.SINGLE, f.SINGLE);
        lines.number("speed", r.SPEED, f.SPEED);
        lines.number("test_meny", r.TEST_MENY, f.TEST_MENY);
    }
    if (Wanted(tables, "units")) {
        for (int n = 1; n <= 5; ++n) {
            at("units " + std::to_string(n))
                .text("name", reg.UnitTable[n].name, file.UnitTable[n].name, kWhole);
        }
    }
    if (Wanted(tables, "types")) {
        for (int n = 1; n <= 8; ++n) {
            at("types " + std::to_string(n))
                .text("name", reg.ArticleTypeTable[n].name, file.ArticleTypeTable[n].name, 12);
        }
    }
    return out;
}

std::vector<std::string> CompareArticles(const std::vector<articles::ArticleRecord>& file,
                                         const std::vector<articles::ArticleRecord>& reg) {
    std::map<std::string, const articles::ArticleRecord*> inFile, inRegister;
    for (const auto& a : file) {
        inFile[ArticleKey(a.code)] = &a;
    }
    for (const auto& a : reg) {
        inRegister[ArticleKey(a.code)] = &a;
    }
    std::vector<std::string> keys;
    for (const auto& [key, row] : inFile) {
        keys.push_back(key);
    }
    for (const auto& [key, row] : inRegister) {
        if (!inFile.count(key)) {
            keys.push_back(key);
        }
    }
    std::sort(keys.begin(), keys.end(), KeyBefore);

    std::vector<std::string> out;
    for (const std::string& key : keys) {
        const std::string prefix = "articles " + key;
        const auto f = inFile.find(key);
        const auto r = inRegister.find(key);
        if (r == inRegister.end()) {
            out.push_back(prefix + ": not in the register");
            continue;
        }
        if (f == inFile.end()) {
            out.push_back(prefix + ": not in the file");
            continue;
        }
        const articles::ArticleRecord& a = *r->second;
        const articles::ArticleRecord& b = *f->second;
        Lines lines{out, prefix};
        lines.number("department", a.department, b.department);
        lines.text("description", a.description, b.description, articles::kNameWidth, true);
        lines.number("price", InUnits(a.price, 2), InUnits(b.price, 2));
        lines.number("single", a.singleSale ? "1" : "0", b.singleSale ? "1" : "0");
        lines.number("vat", a.vatCode, b.vatCode);
        lines.number("unit", a.unit, b.unit);
        lines.number("type", a.type, b.type);
        lines.number("stock", InUnits(a.stock, 3), InUnits(b.stock, 3));
    }
    return out;
}

DiffResult DiffRegister(Station& station, tables::TransferProgress& progress,
                        const std::filesystem::path& programFile,
                        const std::optional<std::filesystem::path>& articlesCsv) {
    DiffResult result;
    Dialogs& dialogs = station.dialogs;
    auto file = std::make_unique<SharedState>(station.state);
    file->ProgramFilePath = programFile.string();
    if (!LoadProgramFile(*file, dialogs)) {
        return result;
    }
    std::vector<articles::ArticleRecord> fileArticles;
    if (articlesCsv && !ReadArticleFile(*articlesCsv, fileArticles, dialogs)) {
        return result;
    }
    std::vector<std::string> tables = kSmallTables;
    std::unique_ptr<ScratchArticles> scratch;
    auto read = std::make_unique<RegisterRead>();
    std::vector<articles::ArticleRecord> regArticles;
    try {
        if (articlesCsv) {
            tables.push_back("articles");
            scratch = std::make_unique<ScratchArticles>();
        }
        ReadRegister(station, progress, tables, scratch.get(), *read);
        if (scratch && read->linkAnswered) {
            Database& db = scratch->database();
            db.open(scratch->connectionString());
            auto rows = db.query(articles::ListStatement(articles::kReceivedTable));
            while (rows->next()) {
                regArticles.push_back(articles::ReadArticle(*rows));
            }
            db.close();
        }
    } catch (const std::exception& e) {
        ShowError(dialogs, e, "Backup.DiffRegister()");
        return result;
    }
    result.started = read->linkAnswered;
    result.cancelled = read->cancelled;
    result.failed = read->failed;
    if (!result.started || result.cancelled) {
        return result;
    }
    result.lines = CompareTables(*file, read->state, read->read);
    if (Wanted(read->read, "articles")) {
        const auto lines = CompareArticles(fileArticles, regArticles);
        result.lines.insert(result.lines.end(), lines.begin(), lines.end());
    }
    return result;
}

}  // namespace qov::backup
