#include "app/sql_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <atomic>
#include <charconv>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/run_error.h"
#include "app/sql_dialect.h"

namespace qov {

namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string TrimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r' ||
                           text[end - 1] == '\n')) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// "{value}" and "\"value\"" stand for value.
std::string Unwrap(const std::string& value) {
    if (value.size() >= 2 && ((value.front() == '{' && value.back() == '}') ||
                              (value.front() == '"' && value.back() == '"'))) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string RemoveBlanks(const std::string& key) {
    std::string out;
    for (const char c : key) {
        if (c != ' ' && c != '\t') {
            out.push_back(c);
        }
    }
    return out;
}

// A path held as the file system's bytes.
QString FileSystemPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToStd(const QString& text) {
    return text.toLatin1().toStdString();
}

// One cell as text: NULL empty, numbers in their shortest decimal form, yes/no as 1/0,
// texts as Latin-1 bytes.
std::string CellText(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    switch (value.metaType().id()) {
        case QMetaType::Bool:
            return value.toBool() ? "1" : "0";
        case QMetaType::Double:
        case QMetaType::Float:
            return SqlNumber(value.toDouble());
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        default:
            return ToStd(value.toString());
    }
}

// A result read in full: column names, rows of texts.
class MaterialisedRowSet : public RowSet {
public:
    MaterialisedRowSet(std::vector<std::string> columns, std::vector<std::vector<std::string>> rows)
        : rows_(std::move(rows)) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            index_.emplace(LowerAscii(columns[i]), i);  // first of equal names wins
        }
    }

    bool next() override {
        if (current_ < rows_.size()) {
            ++current_;
        } else if (current_ == kBeforeFirst) {
            current_ = 0;
        }
        return current_ < rows_.size();
    }

    std::string value(const std::string& column) const override {
        const auto found = index_.find(LowerAscii(column));
        if (found == index_.end()) {
            throw RunError(kNoSuchColumn,
                           "Item cannot be found in the collection corresponding to the "
                           "requested name or ordinal.");
        }
        if (current_ >= rows_.size()) {
            throw RunError(kNoCurrentRow,
                           "Either BOF or EOF is True, or the current record has been deleted. "
                           "Requested operation requires a current record.");
        }
        return rows_[current_][found->second];
    }

    bool hasColumn(const std::string& column) const override {
        return index_.count(LowerAscii(column)) != 0;
    }

private:
    static constexpr std::size_t kBeforeFirst = static_cast<std::size_t>(-1);
    std::vector<std::vector<std::string>> rows_;
    std::unordered_map<std::string, std::size_t> index_;
    std::size_t current_ = kBeforeFirst;
};

// SQLite's result codes are numbers; PostgreSQL's SQLSTATE codes are five-character codes
// (the text carries them), so its failures get the general statement-failure number.
[[noreturn]] void ThrowStatementError(const QSqlError& error, bool numericCodes) {
    std::int32_t number = 0;
    const std::string code = ToStd(error.nativeErrorCode());
    const auto parsed = std::from_chars(code.data(), code.data() + code.size(), number);
    if (!numericCodes || parsed.ec != std::errc() || parsed.ptr != code.data() + code.size() ||
        number == 0) {
        number = kStatementFailed;
    }
    std::string text = TrimBlanks(ToStd(error.databaseText()));
    if (text.empty()) {
        text = TrimBlanks(ToStd(error.text()));
    }
    if (text.empty()) {
        text = "The statement could not be executed.";
    }
    throw RunError(number, text);
}

QString NextConnectionName() {
    static std::atomic<unsigned long long> counter{0};
    return QStringLiteral("qovcom-db-%1").arg(++counter);
}

}  // namespace

ConnectionSettings ParseConnectionString(const std::string& connectionString) {
    ConnectionSettings settings;
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        std::size_t end = connectionString.find(';', start);
        if (end == std::string::npos) {
            end = connectionString.size();
        }
        const std::string part = connectionString.substr(start, end - start);
        start = end + 1;
        const std::size_t eq = part.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string key = LowerAscii(RemoveBlanks(part.substr(0, eq)));
        const std::string value = Unwrap(TrimBlanks(part.substr(eq + 1)));
        if (key == "driver" || key == "provider") {
            settings.driver = value;
            const std::string name = LowerAscii(value);
            if (name.find("sqlite") != std::string::npos) {
                settings.engine = ConnectionSettings::Engine::kSQLite;
            } else if (name.find("postgres") != std::string::npos || name == "qpsql" ||
                       name == "psql" || name == "pgsql") {
                settings.engine = ConnectionSettings::Engine::kPostgreSQL;
            } else {
                settings.engine = ConnectionSettings::Engine::kUnknown;
            }
        } else if (key == "database" || key == "datasource" || key == "dbq" || key == "dbname" ||
                   key == "initialcatalog") {
            settings.database = value;
        } else if (key == "server" || key == "host" || key == "hostname" || key == "address") {
            settings.host = value;
        } else if (key == "port") {
            int port = 0;
            const auto parsed = std::from_chars(value.data(), value.data() + value.size(), port);
            settings.port = (parsed.ec == std::errc() && port > 0 && port < 65536) ? port : 0;
        } else if (key == "uid" || key == "user" || key == "userid" || key == "username") {
            settings.user = value;
        } else if (key == "pwd" || key == "password") {
            settings.password = value;
        }
    }
    if (settings.engine == ConnectionSettings::Engine::kSQLite && !settings.database.empty()) {
        // The settings file writes Windows separators ("{app.path}\QovCom.db"). The path is
        // the file system's bytes (the program folder may be named in any script).
        QString path = FileSystemPath(settings.database);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        settings.database = QFile::encodeName(QDir::cleanPath(path)).toStdString();
    }
    return settings;
}

SqlDatabase::~SqlDatabase() {
    close();
}

void SqlDatabase::open(const std::string& connectionString) {
    close();
    const ConnectionSettings settings = ParseConnectionString(connectionString);
    switch (settings.engine) {
        case ConnectionSettings::Engine::kSQLite:
            openSQLite(settings);
            break;
        case ConnectionSettings::Engine::kPostgreSQL:
            openPostgreSQL(settings);
            break;
        case ConnectionSettings::Engine::kUnknown:
            throw RunError(RunError::kDatabaseUnavailable,
                           "Unknown database driver \"" + settings.driver + "\".");
    }
    engine_ = settings.engine;
}

void SqlDatabase::openSQLite(const ConnectionSettings& settings) {
    // Opening a missing file would create an empty database without tables.
    const QFileInfo file(FileSystemPath(settings.database));
    if (settings.database.empty() || !file.isFile()) {
        throw RunError(RunError::kDatabaseUnavailable,
                       "Database file not found: \"" + settings.database + "\".");
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        throw RunError(RunError::kDatabaseUnavailable, "The SQLite driver is not available.");
    }
    name_ = NextConnectionName();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(file.absoluteFilePath());
    if (!db_.open()) {
        failOpen(ToStd(db_.lastError().text()));
    }
    // Autocommitted single-row statements: a write-ahead log without a sync per commit
    // keeps them cheap. A read-only file simply keeps its journal mode.
    QSqlQuery pragma(db_);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // A missing or foreign file opens fine; the first read tells.
    if (!pragma.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        failOpen(ToStd(pragma.lastError().text()));
    }
}

void SqlDatabase::openPostgreSQL(const ConnectionSettings& settings) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        throw RunError(RunError::kDatabaseUnavailable, "The PostgreSQL driver is not available.");
    }
    name_ = NextConnectionName();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    if (!settings.host.empty()) {
        db_.setHostName(QString::fromLatin1(settings.host));
    }
    if (settings.port != 0) {
        db_.setPort(settings.port);
    }
    db_.setDatabaseName(QString::fromLatin1(settings.database));
    db_.setUserName(QString::fromLatin1(settings.user));
    db_.setPassword(QString::fromLatin1(settings.password));
    db_.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!db_.open()) {
        failOpen(ToStd(db_.lastError().text()));
    }
}

void SqlDatabase::failOpen(const std::string& text) {
    close();
    throw RunError(RunError::kDatabaseUnavailable,
                   text.empty() ? std::string("The database could not be opened.") : text);
}

QString SqlDatabase::prepare(const std::string& sql) const {
    if (!isOpen()) {
        throw RunError(kConnectionClosed, "Operation is not allowed when the object is closed.");
    }
    if (sql.find('\0') != std::string::npos) {
        // An engine would cut the text at the NUL and run only its first part.
        throw RunError(kStatementFailed, "The statement holds a NUL character.");
    }
    return QString::fromLatin1(AdaptSqlForEngines(sql));
}

void SqlDatabase::execute(const std::string& sql) {
    const QString text = prepare(sql);
    QSqlQuery statement(db_);
    statement.setForwardOnly(true);
    if (!statement.exec(text)) {
        ThrowStatementError(statement.lastError(), engine_ == ConnectionSettings::Engine::kSQLite);
    }
}

std::unique_ptr<RowSet> SqlDatabase::query(const std::string& sql) {
    const QString text = prepare(sql);
    QSqlQuery statement(db_);
    statement.setForwardOnly(true);
    statement.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!statement.exec(text)) {
        ThrowStatementError(statement.lastError(), engine_ == ConnectionSettings::Engine::kSQLite);
    }
    const QSqlRecord record = statement.record();
    const int count = record.count();
    std::vector<std::string> columns;
    columns.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        columns.push_back(ToStd(record.fieldName(i)));
    }
    std::vector<std::vector<std::string>> rows;
    while (statement.next()) {
        std::vector<std::string> row;
        row.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            row.push_back(CellText(statement.value(i)));
        }
        rows.push_back(std::move(row));
    }
    if (statement.lastError().isValid()) {
        ThrowStatementError(statement.lastError(), engine_ == ConnectionSettings::Engine::kSQLite);
    }
    return std::make_unique<MaterialisedRowSet>(std::move(columns), std::move(rows));
}

void SqlDatabase::close() {
    if (name_.isEmpty()) {
        return;
    }
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
    engine_ = ConnectionSettings::Engine::kUnknown;
}

void SqlDatabase::begin() {
    prepare("");
    if (!db_.transaction()) {
        ThrowStatementError(db_.lastError(), engine_ == ConnectionSettings::Engine::kSQLite);
    }
}

void SqlDatabase::commit() {
    prepare("");
    if (!db_.commit()) {
        ThrowStatementError(db_.lastError(), engine_ == ConnectionSettings::Engine::kSQLite);
    }
}

void SqlDatabase::rollback() {
    if (isOpen()) {
        db_.rollback();
    }
}

bool SqlDatabase::isOpen() const {
    return !name_.isEmpty() && db_.isOpen();
}

std::unique_ptr<Database> CreateSqlDatabase() {
    return std::make_unique<SqlDatabase>();
}

}  // namespace qov
