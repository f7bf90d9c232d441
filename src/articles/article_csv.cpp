#include "articles/article_csv.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "app/show_error.h"
#include "articles/article_editor.h"
#include "articles/article_numbers.h"
#include "articles/article_sales_view.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::articles {

using tables::TrimBlanks;

namespace {

constexpr std::array<const char*, 9> kColumns{"BAR_CODE", "DESCRIPTION", "PRICE",
                                              "VAT_CODE", "MES_TYPE",    "ART_TYPE",
                                              "ONE_ITEM", "DEPARTMENT",  "INVENTARY"};
enum Column { kCode, kName, kPrice, kVat, kUnit, kType, kSingle, kDepartment, kStock };
constexpr std::size_t kMaxListedRefusals = 50;

// A Dialogs that keeps the texts of the boxes instead of showing them: the editor's checks
// run unchanged and their messages become the refusal text of a row.
class MessageCollector : public Dialogs {
public:
    Answer show(const MessageBox& box) override {
        texts.push_back(box.text);
        return firstButton(box.buttons);
    }
    std::string openFile(const FileDialog&) override { return {}; }
    std::string saveFile(const FileDialog&) override { return {}; }
    void setBusy(bool) override {}
    void yield() override {}

    std::string joined() const {
        std::string all;
        for (const std::string& text : texts) {
            all += (all.empty() ? "" : " / ") + TrimBlanks(text);
        }
        return all;
    }
    std::vector<std::string> texts;
};

// The next code point of UTF-8 text at `pos`, or -1 for a malformed sequence.
long NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    long code = 0;
    long least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, least = 0x10000;
    } else {
        return -1;
    }
    if (pos + static_cast<std::size_t>(extra) >= text.size()) {
        return -1;
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = byte(pos + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            return -1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return -1;
    }
    pos += static_cast<std::size_t>(extra) + 1;
    return code;
}

// The line (from 1) of the first malformed UTF-8 sequence, or 0 when the text is clean.
int FirstBadUtf8Line(std::string_view text) {
    int line = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == '\n') {
            ++line;
        }
        if (NextCodePoint(text, pos) < 0) {
            return line;
        }
    }
    return 0;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// A field's UTF-8 text as bytes: Latin-1 letters as they are, anything else "?".
std::string Latin1Bytes(std::string_view utf8) {
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const long code = NextCodePoint(utf8, pos);
        out.push_back(code >= 0 && code < 0x100 ? static_cast<char>(code) : '?');
    }
    return out;
}

// A name's UTF-8 text as register-side bytes: Latin-1 letters as they are, Cyrillic letters
// as display-font characters, the Serbian Latin letters with diacritics that the register
// cannot show without them. Anything else refuses the name.
bool NameBytes(std::string_view utf8, std::string& out, bool& renamed, std::string& error) {
    out.clear();
    for (std::size_t pos = 0; pos < utf8.size();) {
        const long code = NextCodePoint(utf8, pos);
        // A NUL would end the statement that stores the name: refused like a letter the
        // register cannot show.
        if (code > 0 && code < 0x100) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        if (code >= 0x400 && code <= 0x4FF) {
            if (const char font = FontCharForCyrillic(static_cast<char32_t>(code)); font != 0) {
                out.push_back(font);
                continue;
            }
        }
        const char* plain = nullptr;
        switch (code) {
            case 0x10C:
            case 0x106:
                plain = "C";
                break;  // Č Ć
            case 0x10D:
            case 0x107:
                plain = "c";
                break;  // č ć
            case 0x160:
                plain = "S";
                break;
            case 0x161:
                plain = "s";
                break;
            case 0x17D:
                plain = "Z";
                break;
            case 0x17E:
                plain = "z";
                break;
            case 0x110:
                plain = "Dj";
                break;
            case 0x111:
                plain = "dj";
                break;
            default:
                break;
        }
        if (plain == nullptr) {
            char hex[24];
            std::snprintf(hex, sizeof hex, "U+%04lX", static_cast<unsigned long>(code));
            error = std::string("Naziv sadrzi znak koji kasa ne moze da prikaze (") + hex + ")";
            return false;
        }
        out += plain;
        renamed = true;
    }
    return true;
}

// One record of the file: its fields and the line it starts on.
struct CsvRecord {
    std::vector<std::string> fields;
    int line = 0;
};

// Splits CSV text into records: quoted fields may hold the separator, doubled quotes and line
// breaks; CRLF and LF end a record; a record that is one empty field (a blank line) is dropped.
std::vector<CsvRecord> SplitRecords(std::string_view text, char separator) {
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    int line = 1;
    record.line = 1;
    bool quoted = false;
    bool fieldStarted = false;
    auto endRecord = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        if (!(record.fields.size() == 1 && TrimBlanks(record.fields[0]).empty())) {
            records.push_back(std::move(record));
        }
        record = CsvRecord{};
        record.line = line;
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field.push_back('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') {
                    ++line;
                }
                field.push_back(c);
            }
        } else if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            record.fields.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            ++line;
            endRecord();
        } else {
            field.push_back(c);
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.empty() || !record.fields.empty()) {
        endRecord();
    }
    return records;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// Whether a header record names the nine columns (and, from a received table, TOTAL and QTY).
bool IsArticleHeader(const CsvRecord& header) {
    const std::size_t count = header.fields.size();
    if (count != kColumns.size() && count != kColumns.size() + 2) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = UpperAscii(TrimBlanks(header.fields[i]));
        const char* wanted = i < kColumns.size() ? kColumns[i] : (i == 9 ? "TOTAL" : "QTY");
        if (name != wanted) {
            return false;
        }
    }
    return true;
}

// A list position column: a whole number from 0 to last.
bool ReadPosition(const std::string& text, int last, int& position) {
    const std::string trimmed = TrimBlanks(text);
    if (!IsDigitsOnly(trimmed) || trimmed.size() > 3) {
        return false;
    }
    position = std::stoi(trimmed);
    return position <= last;
}

// A number column as the editor reads its fields: a decimal comma becomes a point.
std::string NumberField(const std::string& text) {
    return tables::ReplaceAll(Latin1Bytes(TrimBlanks(text)), ",", ".");
}

std::optional<std::string> CheckRow(const CsvRecord& record, const ImportRules& rules,
                                    ArticleValues& out, bool& renamed) {
    const auto& f = record.fields;
    ArticleFields fields;
    fields.code = Latin1Bytes(f[kCode]);
    std::string error;
    if (!NameBytes(f[kName], fields.description, renamed, error)) {
        return error;
    }
    struct {
        Column column;
        int last;
        int* target;
    } positions[] = {{kVat, 8, &fields.vat},
                     {kUnit, 10, &fields.unit},
                     {kType, 7, &fields.type},
                     {kDepartment, 9, &fields.department}};
    for (const auto& p : positions) {
        if (!ReadPosition(f[p.column], p.last, *p.target)) {
            return std::string("Neispravna vrednost u koloni ") + kColumns[p.column] + ": \"" +
                   Latin1Bytes(f[p.column]) + "\" (0 do " + std::to_string(p.last) + ")";
        }
    }
    const std::string single = UpperAscii(TrimBlanks(f[kSingle]));
    if (single == "1" || single == "TRUE" || single == "-1") {
        fields.singleSale = true;
    } else if (!(single.empty() || single == "0" || single == "FALSE")) {
        return "Neispravna vrednost u koloni ONE_ITEM: \"" + Latin1Bytes(f[kSingle]) +
               "\" (0 ili 1)";
    }
    // Junk in a number field is refused here with the editor's own texts, rather than being
    // read as its leading number when the field is left.
    const std::string price = NumberField(f[kPrice]);
    if (!tables::IsNumber(price)) {
        return std::string("Cena nije validna !");
    }
    const std::string stock = NumberField(f[kStock]);
    if (!tables::IsNumber(stock)) {
        return std::string("Lager nije validan !");
    }
    fields.price = PriceLeftText(price);
    fields.stock = StockLeftText(stock, fields.unit);
    const std::string name = TrimBlanks(fields.description);
    // The name field holds no more than its limit (18 while LineWidth is 22), whatever the
    // length; the editor's own check below is for 28.
    if (rules.nameLimit < static_cast<int>(kNameWidth) &&
        name.size() > static_cast<std::size_t>(rules.nameLimit)) {
        return "Naziv je max " + std::to_string(rules.nameLimit) + " karaktera !";
    }
    MessageCollector collector;
    if (!ValidateArticle(collector, fields, {false, rules.maxPrice}, nullptr)) {
        return collector.joined();
    }
    out = ValuesOf(fields);
    return std::nullopt;
}

std::string RefusalReport(const std::vector<CsvRefusal>& refused) {
    std::string text = "Odbijeni redovi: " + std::to_string(refused.size());
    for (std::size_t i = 0; i < refused.size() && i < kMaxListedRefusals; ++i) {
        text += std::string(kLineBreak) + "Red " + std::to_string(refused[i].line) + ": " +
                refused[i].message;
    }
    if (refused.size() > kMaxListedRefusals) {
        text += std::string(kLineBreak) + "... i jos " +
                std::to_string(refused.size() - kMaxListedRefusals);
    }
    return text;
}

// A field for the file: quoted when it holds the separator, a quote, a line break or blanks
// at either end (a spreadsheet would drop those).
void AppendField(std::string& out, const std::string& utf8) {
    const bool quote = utf8.find_first_of(";\"\r\n") != std::string::npos ||
                       (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quote) {
        out += utf8;
        return;
    }
    out.push_back('"');
    for (const char c : utf8) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

std::string BytesAsUtf8(std::string_view bytes, bool cyrillic) {
    std::string out;
    for (const char c : bytes) {
        const char32_t letter = cyrillic ? CyrillicForFontChar(c) : 0;
        AppendUtf8(out, letter != 0 ? letter : static_cast<unsigned char>(c));
    }
    return out;
}

}  // namespace

ImportRules ImportRulesOf(const SharedState& state) {
    return {state.LineWidth == 22 ? 18 : 28, state.MaxPrice};
}

CsvImportPlan PlanArticleImport(std::string_view bytes, const ImportRules& rules) {
    CsvImportPlan plan;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (const int bad = FirstBadUtf8Line(bytes); bad != 0) {
        plan.fileError = "Datoteka nije zapisana u UTF-8 kodu (red " + std::to_string(bad) +
                         "). Sacuvajte je kao CSV UTF-8.";
        return plan;
    }
    const std::string_view firstLine = bytes.substr(0, bytes.find_first_of("\r\n"));
    const char separator = firstLine.find(';') == std::string_view::npos &&
                                   firstLine.find(',') != std::string_view::npos
                               ? ','
                               : ';';
    const std::vector<CsvRecord> records = SplitRecords(bytes, separator);
    if (records.empty() || !IsArticleHeader(records.front())) {
        plan.fileError = std::string("Zaglavlje datoteke nije ispravno. Prvi red mora biti:") +
                         kLineBreak + kCsvHeader;
        return plan;
    }
    const std::size_t width = records.front().fields.size();
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (record.fields.size() != width) {
            plan.refused.push_back({record.line, "Red ima " + std::to_string(record.fields.size()) +
                                                     " kolona umesto " + std::to_string(width)});
            continue;
        }
        ArticleValues values;
        bool renamed = false;
        if (auto refusal = CheckRow(record, rules, values, renamed)) {
            plan.refused.push_back({record.line, *refusal});
            continue;
        }
        plan.renamed += renamed ? 1 : 0;
        plan.rows.push_back(std::move(values));
    }
    return plan;
}

bool ReadArticleCsvRecords(std::string_view bytes, std::vector<ArticleRecord>& rows,
                           std::string& error) {
    rows.clear();
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (const int bad = FirstBadUtf8Line(bytes); bad != 0) {
        error = "Datoteka nije zapisana u UTF-8 kodu (red " + std::to_string(bad) + ")";
        return false;
    }
    const std::string_view firstLine = bytes.substr(0, bytes.find_first_of("\r\n"));
    const char separator = firstLine.find(';') == std::string_view::npos &&
                                   firstLine.find(',') != std::string_view::npos
                               ? ','
                               : ';';
    const std::vector<CsvRecord> records = SplitRecords(bytes, separator);
    if (records.empty() || !IsArticleHeader(records.front())) {
        error = std::string("Zaglavlje datoteke nije ispravno. Prvi red mora biti: ") + kCsvHeader;
        return false;
    }
    const std::size_t width = records.front().fields.size();
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        const auto& f = record.fields;
        const std::string where = "Red " + std::to_string(record.line) + ": ";
        if (f.size() != width) {
            error = where + "red ima " + std::to_string(f.size()) + " kolona umesto " +
                    std::to_string(width);
            return false;
        }
        ArticleRecord r;
        bool renamed = false;
        std::string nameError;
        if (!NameBytes(f[kName], r.description, renamed, nameError)) {
            error = where + nameError;
            return false;
        }
        r.code = Latin1Bytes(TrimBlanks(f[kCode]));
        r.price = NumberField(f[kPrice]);
        r.vatCode = NumberField(f[kVat]);
        r.unit = NumberField(f[kUnit]);
        r.type = NumberField(f[kType]);
        const std::string single = UpperAscii(TrimBlanks(f[kSingle]));
        r.singleSale = single == "1" || single == "TRUE" || single == "-1";
        r.department = NumberField(f[kDepartment]);
        r.stock = NumberField(f[kStock]);
        if (width > kColumns.size()) {
            r.total = NumberField(f[kColumns.size()]);
            r.quantity = NumberField(f[kColumns.size() + 1]);
        }
        rows.push_back(std::move(r));
    }
    return true;
}

bool StoreArticleImport(Station& station, const CsvImportPlan& plan, CsvImportCounts& counts,
                        const std::string& sender) {
    CsvImportCounts done;
    const bool ok = WithDatabase(station, sender, [&](Database& db) {
        std::unordered_set<std::string> codes;
        for (auto rows = db.query("select BAR_CODE from QOV_PLU"); rows->next();) {
            codes.insert(rows->value("BAR_CODE"));
        }
        db.begin();
        try {
            for (const ArticleValues& values : plan.rows) {
                const std::string code = PaddedCode(values.code);
                if (codes.count(code) != 0) {
                    db.execute(UpdateStatement(values, code));
                    ++done.updated;
                } else {
                    db.execute(InsertStatement(values));
                    codes.insert(code);
                    ++done.inserted;
                }
            }
            db.commit();
        } catch (...) {
            db.rollback();
            throw;
        }
    });
    if (ok) {
        counts = done;
    }
    return ok;
}

bool ImportArticlesFile(Station& station, const std::filesystem::path& file, RefusedRows policy,
                        const std::string& sender) {
    Dialogs& dialogs = station.dialogs;
    // Read whole; an empty file is read fine (and then has no header).
    std::ifstream in(file, std::ios::binary);
    std::string content;
    if (in) {
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!in.is_open() || in.bad()) {
        dialogs.message("Datoteka ne moze da se procita: " + file.string(), kTitle, Icon::Critical);
        return false;
    }
    const CsvImportPlan plan = PlanArticleImport(content, ImportRulesOf(station.state));
    if (!plan.fileError.empty()) {
        dialogs.message(plan.fileError, kTitle, Icon::Critical);
        return false;
    }
    if (!plan.refused.empty()) {
        const std::string report = RefusalReport(plan.refused);
        switch (policy) {
            case RefusedRows::ImportNone:
                dialogs.message(report + kLineBreak + "Nista nije uvezeno.", kTitle,
                                Icon::Critical);
                return false;
            case RefusedRows::Ask:
                if (dialogs.message(report + kLineBreak + kLineBreak + "Uvesti ispravne redove?",
                                    kTitle, Icon::Exclamation, Buttons::YesNo) != Answer::Yes) {
                    return false;
                }
                break;
            case RefusedRows::ImportValid:
                dialogs.message(report, kTitle, Icon::Exclamation);
                break;
        }
    }
    CsvImportCounts counts;
    dialogs.setBusy(true);
    const bool stored = StoreArticleImport(station, plan, counts, sender);
    dialogs.setBusy(false);
    if (!stored) {
        return false;
    }
    std::string summary = "Uvezeno artikala: " + std::to_string(plan.rows.size()) + " (novih " +
                          std::to_string(counts.inserted) + ", izmenjenih " +
                          std::to_string(counts.updated) + ").";
    if (plan.renamed > 0) {
        summary += std::string(kLineBreak) +
                   "Naziva napisanih bez kvacica (C C S Z Dj): " + std::to_string(plan.renamed) +
                   ".";
    }
    dialogs.message(summary, kTitle, Icon::Information);
    return true;
}

namespace {

// The CSV text of a table and its number of rows (a name may hold a line break, so the lines
// of the text do not count them).
std::string CsvText(Database& db, const std::string& table, bool cyrillic, std::size_t& rowCount) {
    rowCount = 0;
    const bool sales = table != kArticleTable;
    std::string out = std::string(kCsvHeader) + (sales ? kCsvSalesColumns : "") + "\r\n";
    for (auto rows = db.query(ListStatement(table)); rows->next();) {
        const ArticleRecord r = ReadArticle(*rows);
        const std::string fields[] = {r.code,
                                      r.description,
                                      ShortestText(r.price),
                                      ShortestText(r.vatCode),
                                      ShortestText(r.unit),
                                      ShortestText(r.type),
                                      r.singleSale ? "1" : "0",
                                      ShortestText(r.department),
                                      ShortestText(r.stock),
                                      ShortestText(r.total),
                                      ShortestText(r.quantity)};
        const std::size_t count = sales ? std::size(fields) : kColumns.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) {
                out.push_back(';');
            }
            AppendField(out, BytesAsUtf8(fields[i], cyrillic && i == kName));
        }
        out += "\r\n";
        ++rowCount;
    }
    return out;
}

}  // namespace

std::string ArticlesCsvText(Database& db, const std::string& table, bool cyrillic) {
    std::size_t rowCount = 0;
    return CsvText(db, table, cyrillic, rowCount);
}

bool ExportArticlesFile(Station& station, const std::string& table, bool cyrillic,
                        const std::filesystem::path& file, const std::string& sender) {
    std::string text;
    std::size_t rows = 0;
    if (!WithDatabase(station, sender,
                      [&](Database& db) { text = CsvText(db, table, cyrillic, rows); })) {
        return false;
    }
    QSaveFile out(QFile::decodeName(QByteArray::fromStdString(file.string())));
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !out.commit()) {
        station.dialogs.message("Datoteka ne moze da se zapise: " + file.string(), kTitle,
                                Icon::Critical);
        return false;
    }
    station.dialogs.message("Izvezeno artikala: " + std::to_string(rows) + ".", kTitle,
                            Icon::Information);
    return true;
}

bool ArticleListLines(Station& station, const std::string& table, std::vector<std::string>& lines) {
    lines.clear();
    if (table == kArticleTable) {
        ArticleColumns columns;
        if (!ArticleStore(station).carica_PLU(columns)) {
            return false;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            lines.push_back(columns.main[i] + "\t" + columns.price[i] + "\t" + columns.stock[i]);
        }
        return true;
    }
    const std::string form = station.state.CurrentForm;
    ArticleSalesView view(station, table == kReceivedSoldTable ? ArticleSalesView::Kind::Sold
                                                               : ArticleSalesView::Kind::Received);
    const bool loaded = view.open();
    station.state.CurrentForm = form;
    if (!loaded) {
        return false;
    }
    const ArticleColumns& c = view.columns();
    for (std::size_t i = 0; i < c.size(); ++i) {
        lines.push_back(c.main[i] + "\t" + c.price[i] + "\t" + c.stock[i] + "\t" + c.quantity[i] +
                        "\t" + c.value[i]);
    }
    return true;
}

}  // namespace qov::articles
