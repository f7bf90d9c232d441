#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/station.h"

namespace qov::articles {

// The article tables of the database.
inline constexpr const char* kArticleTable = "QOV_PLU";
inline constexpr const char* kReceivedTable = "QOV_PLU_RCV";
inline constexpr const char* kReceivedSoldTable = "QOV_PLU_RCV_SOLD";

inline constexpr std::size_t kCodeWidth = 12;
inline constexpr std::size_t kNameWidth = 28;

// One article row as read from any of the three tables: every column as the database gives
// it (numbers in their shortest decimal form, yes/no as "1"/"0"). TOTAL and QTY are empty
// for QOV_PLU.
struct ArticleRecord {
    std::string code;
    std::string description;
    std::string price;
    std::string vatCode;
    std::string unit;
    std::string type;
    bool singleSale = false;
    std::string department;
    std::string stock;
    std::string total{};
    std::string quantity{};
};

// One article as the editor stores it: the values that go into an insert or an update.
struct ArticleValues {
    std::string code;         // as typed; trimmed and zero-padded to 12 when written
    std::string description;  // as typed; the insert trims it, the update keeps it whole
    double price = 0;
    int vat = 0;
    int unit = 0;
    int type = 0;
    bool singleSale = false;
    int department = 0;
    double stock = 0;
};

// The aligned list columns of an article screen: one line per listed row in each column.
// The editor fills main, price and stock; the sales views all five.
struct ArticleColumns {
    std::vector<std::string> main;
    std::vector<std::string> price;
    std::vector<std::string> stock;
    std::vector<std::string> quantity;
    std::vector<std::string> value;

    std::size_t size() const { return main.size(); }
    void clear();
};

// A typed code: trimmed, then zero-padded on the left to 12 characters.
std::string PaddedCode(std::string_view typed);
// The key of a list line: its first 12 characters, trimmed.
std::string KeyOfLine(std::string_view line);
// Whether a stored code is listed: its trimmed text must read as a number other than 0.
bool IsListedCode(std::string_view code);

// The statements of the article editor, byte for byte.
std::string ListStatement(const std::string& table);  // "select * from T ORDER BY T.BAR_CODE"
std::string SelectOneStatement(const std::string& table, const std::string& key);
std::string DuplicateCheckStatement(const std::string& paddedCode);
std::string InsertStatement(const ArticleValues& values);
std::string UpdateStatement(const ArticleValues& values, const std::string& key);
std::string DeleteStatement(const std::string& key);

// Reads one row of a result into a record (missing TOTAL/QTY columns read as empty).
ArticleRecord ReadArticle(const RowSet& row);

// The editor's list lines of one row: code padded with "0" to 12, three blanks, the name
// padded to 28; " " + price; stock.
void AddEditorLines(ArticleColumns& columns, const ArticleRecord& record);
// The sales views' list lines of one row: code padded with blanks to 12, two blanks, the name
// padded to 12; price; stock; quantity; value.
void AddSalesLines(ArticleColumns& columns, const ArticleRecord& record);

// Runs `work` on a connection of its own (opened with the settings' connection string,
// closed afterwards). A failure closes the connection and goes to ShowError with `sender`;
// the result is then false.
bool WithDatabase(Station& station, const std::string& sender,
                  const std::function<void(Database&)>& work);

// The store operations of the article editor, each on its own connection; failures are
// reported under "frmPlu" + the operation's suffix and give false / nothing.
class ArticleStore {
public:
    explicit ArticleStore(Station& station) : station_(station) {}

    static constexpr const char* kFormName = "frmPlu";

    // The editor's three columns in code order, rows whose code reads as 0 left out. On
    // failure the columns are left as they were.
    bool carica_PLU(ArticleColumns& columns);
    // The first row with `key`: nothing when there is none or on failure.
    std::optional<ArticleRecord> PctOsv(const std::string& key);
    // Whether a row with the padded code exists; nothing on failure (reported under `sender`).
    std::optional<bool> exists(const std::string& paddedCode, const std::string& sender);
    bool insert_plu(const ArticleValues& values);
    bool aggiorna_plu(const ArticleValues& values, const std::string& key);
    bool elimina_plu(const std::string& key);

private:
    bool execute(const std::string& sql, const char* operation);

    Station& station_;
};

}  // namespace qov::articles
