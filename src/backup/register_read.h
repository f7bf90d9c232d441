// Reading a whole register into tables of its own: what a backup keeps and what a comparison
// looks at. The station's own tables, and the received-article tables the sales views show,
// stay as they were.
#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/database.h"
#include "app/shared_state.h"
#include "articles/article_store.h"
#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::backup {

// The received-article tables of one read: an embedded database of their own in a temporary
// folder, made with the two tables and removed with this object.
class ScratchArticles {
public:
    // Throws RunError when the folder or the database cannot be made.
    ScratchArticles();
    ~ScratchArticles();
    ScratchArticles(const ScratchArticles&) = delete;
    ScratchArticles& operator=(const ScratchArticles&) = delete;

    Database& database() { return *database_; }
    const std::string& connectionString() const { return connection_; }

private:
    QTemporaryDir folder_;
    std::unique_ptr<Database> database_;
    std::string connection_;
};

// The tables of the receive list a read takes, by their command-line names.
inline const std::vector<std::string> kSmallTables = {
    "departments", "operators", "currencies", "system", "vat", "units", "types"};

// What a read of the register gave.
struct RegisterRead {
    SharedState state;                // the station's settings and modes; the tables as read
    std::vector<std::string> read;    // the tables read whole, in receive-list order
    std::vector<std::string> failed;  // the tables whose read was abandoned
    std::string serial;               // the register's serial number ("J"), empty when unknown
    bool linkAnswered = false;
    bool cancelled = false;
    bool complete() const { return linkAnswered && !cancelled && failed.empty(); }
};

// Reads the named tables of the receive list ("departments", ..., "articles", "sold") into
// `out.state`, which starts as a copy of the station's state with empty register tables and
// every table's Cyrillic flag off. The articles go into `articles` (needed when "articles" or
// "sold" is named). First the link test (its failure shown as the transmit screen shows it)
// and the serial number; then each table with the caption of its list entry, its failures
// reported by its own procedure. A cancel asked for on `progress` stops between two records.
void ReadRegister(Station& station, tables::TransferProgress& progress,
                  const std::vector<std::string>& tables, ScratchArticles* articles,
                  RegisterRead& out);

// The table whose Cyrillic flag a receive-list table sets, by its command-line name; false
// for tables without texts.
bool CyrillicTableOf(const std::string& table, CyrTable& flag);

// The articles of a CSV file as they stand (ReadArticleCsvRecords); a file that cannot be read
// is reported in a box naming it, and the result is false.
bool ReadArticleFile(const std::filesystem::path& file, std::vector<articles::ArticleRecord>& rows,
                     Dialogs& dialogs);

}  // namespace qov::backup
