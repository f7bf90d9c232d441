#include "backup/register_read.h"

#include <QDir>

#include <algorithm>
#include <exception>
#include <fstream>
#include <iterator>

#include "app/run_error.h"
#include "articles/article_csv.h"
#include "tables/fields.h"
#include "tables/transfer_lists.h"

namespace qov::backup {

namespace {

// The two received-article tables, as the embedded schema makes them.
const char* const kReceivedSchema[] = {
    "CREATE TABLE QOV_PLU_RCV (BAR_CODE VARCHAR(12) NOT NULL DEFAULT '', DESCRIPTION "
    "VARCHAR(28) NOT NULL DEFAULT '', PRICE NUMERIC(10,2) NOT NULL DEFAULT 0, VAT_CODE SMALLINT "
    "NOT NULL DEFAULT 0, MES_TYPE SMALLINT NOT NULL DEFAULT 0, ART_TYPE SMALLINT NOT NULL "
    "DEFAULT 0, ONE_ITEM SMALLINT NOT NULL DEFAULT 0, DEPARTMENT SMALLINT NOT NULL DEFAULT 0, "
    "INVENTARY NUMERIC(9,3) NOT NULL DEFAULT 0, MAX_VALUE NUMERIC(12,2) NOT NULL DEFAULT 0, "
    "TOTAL NUMERIC(13,2) NOT NULL DEFAULT 0, QTY NUMERIC(12,3) NOT NULL DEFAULT 0)",
    "CREATE TABLE QOV_PLU_RCV_SOLD (BAR_CODE VARCHAR(12) NOT NULL DEFAULT '', DESCRIPTION "
    "VARCHAR(28) NOT NULL DEFAULT '', PRICE NUMERIC(10,2) NOT NULL DEFAULT 0, VAT_CODE SMALLINT "
    "NOT NULL DEFAULT 0, MES_TYPE SMALLINT NOT NULL DEFAULT 0, ART_TYPE SMALLINT NOT NULL "
    "DEFAULT 0, ONE_ITEM SMALLINT NOT NULL DEFAULT 0, DEPARTMENT SMALLINT NOT NULL DEFAULT 0, "
    "INVENTARY NUMERIC(9,3) NOT NULL DEFAULT 0, MAX_VALUE NUMERIC(12,2) NOT NULL DEFAULT 0, "
    "TOTAL NUMERIC(13,2) NOT NULL DEFAULT 0, QTY NUMERIC(12,3) NOT NULL DEFAULT 0)",
};

// The register tables of a state emptied: what is not read stays empty.
void EmptyRegisterTables(SharedState& s) {
    s.DepartmentTable = {};
    s.OperatorTable = {};
    s.CurrencyTable = {};
    s.VatTable = {};
    s.UnitTable = {};
    s.ArticleTypeTable = {};
    s.SystemParams = SystemParamsT{};
    s.FunctionTable = {};
    s.HeaderLines = {};
    s.HeaderTable = {};
    s.AdvertLines = {};
    s.AdvertTable = {};
    s.TableCyrillic.fill(false);
}

}  // namespace

ScratchArticles::ScratchArticles() : database_(CreateSqlDatabase()) {
    if (!folder_.isValid()) {
        throw RunError(RunError::kPathNotFound, "Privremena fascikla ne moze da se napravi.");
    }
    const QString file = folder_.filePath(QStringLiteral("received.db"));
    QFile(file).open(QIODevice::WriteOnly);
    connection_ = "Driver=SQLite;Database=" + QFile::encodeName(file).toStdString();
    database_->open(connection_);
    for (const char* statement : kReceivedSchema) {
        database_->execute(statement);
    }
    database_->close();
}

ScratchArticles::~ScratchArticles() = default;

bool CyrillicTableOf(const std::string& table, CyrTable& flag) {
    static const std::pair<const char*, CyrTable> kFlags[] = {
        {"departments", CyrTable::Departments},
        {"operators", CyrTable::Operators},
        {"currencies", CyrTable::Currencies},
        {"units", CyrTable::Units},
        {"types", CyrTable::ArticleTypes},
        {"articles", CyrTable::Articles},
        {"sold", CyrTable::Articles}};
    for (const auto& [name, which] : kFlags) {
        if (table == name) {
            flag = which;
            return true;
        }
    }
    return false;
}

void ReadRegister(Station& station, tables::TransferProgress& progress,
                  const std::vector<std::string>& tables, ScratchArticles* articles,
                  RegisterRead& out) {
    out.state = station.state;
    EmptyRegisterTables(out.state);
    out.read.clear();
    out.failed.clear();
    out.serial.clear();
    out.cancelled = false;
    if (articles != nullptr) {
        out.state.ConnectionString = articles->connectionString();
    }
    LinkCalls calls(out.state, station.link.link());
    Station reader{out.state, station.dialogs, calls,
                   articles != nullptr ? articles->database() : station.database,
                   station.userStore};
    progress.clear();

    out.linkAnswered = calls.testConnection() == 0;
    if (!out.linkAnswered) {
        station.dialogs.message("Veza nije u redu!", kTitle, Icon::Critical);
        return;
    }
    if (const int n = calls.requestFrame("J"); n > 0) {
        out.serial = tables::TrimBlanks(out.state.ReplyText.substr(0, 6));
    }
    tables::TransferContext ctx{reader, progress};
    for (const tables::TransferEntry& entry : tables::ReceiveList()) {
        if (std::find(tables.begin(), tables.end(), entry.name) == tables.end()) {
            continue;
        }
        progress.setCaption(entry.caption);
        bool ok = false;
        try {
            ok = entry.procedure && entry.procedure(ctx);
        } catch (const std::exception&) {
            ok = false;
        }
        (ok ? out.read : out.failed).push_back(entry.name);
        station.dialogs.yield();
        if (progress.cancelRequested()) {
            out.cancelled = true;
            return;
        }
    }
}

bool ReadArticleFile(const std::filesystem::path& file, std::vector<articles::ArticleRecord>& rows,
                     Dialogs& dialogs) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::error_code code;
    std::string error = in.bad() || !std::filesystem::is_regular_file(file, code)
                            ? "datoteka ne moze da se procita"
                            : "";
    if (error.empty() && articles::ReadArticleCsvRecords(bytes, rows, error)) {
        return true;
    }
    dialogs.message(file.string() + ": " + error, kTitle, Icon::Critical);
    return false;
}

}  // namespace qov::backup
