#pragma once

#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "app/database.h"

namespace qov {

// The parts of a connection string that select and reach an engine, e.g.
// "Driver=SQLite;Database=/opt/qov\QovCom.db" or
// "Driver=PostgreSQL;Server=/run/postgresql;Port=5432;Database=qov;Uid=postgres;Pwd=".
// Keys are case-insensitive; Server/Host, Uid/User, Pwd/Password and Database/Data Source are
// synonyms. A SQLite path may mix "\" and "/".
struct ConnectionSettings {
    enum class Engine { kUnknown, kSQLite, kPostgreSQL };
    Engine engine = Engine::kUnknown;
    std::string driver;    // the Driver value as written
    std::string database;  // SQLite: the file path with "/" separators; PostgreSQL: the name
    std::string host;      // PostgreSQL: host name or Unix socket folder
    int port = 0;          // 0 = the engine's default
    std::string user;
    std::string password;
};

ConnectionSettings ParseConnectionString(const std::string& connectionString);

// Error numbers of statement failures that carry no numeric code of their own.
constexpr std::int32_t kStatementFailed = static_cast<std::int32_t>(0x80040E14u);
constexpr std::int32_t kConnectionClosed = 3704;
constexpr std::int32_t kNoCurrentRow = 3021;
constexpr std::int32_t kNoSuchColumn = 3265;

// Database over QtSql. Each open() uses its own uniquely named QtSql connection, removed again
// by close(). query() reads the whole result at once, so a RowSet stays valid after close().
class SqlDatabase : public Database {
public:
    SqlDatabase() = default;
    ~SqlDatabase() override;
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;

    void open(const std::string& connectionString) override;
    void execute(const std::string& sql) override;
    std::unique_ptr<RowSet> query(const std::string& sql) override;
    void close() override;
    bool isOpen() const override;
    void begin() override;
    void commit() override;
    void rollback() override;

    ConnectionSettings::Engine engine() const { return engine_; }

private:
    void openSQLite(const ConnectionSettings& settings);
    void openPostgreSQL(const ConnectionSettings& settings);
    [[noreturn]] void failOpen(const std::string& text);
    QString prepare(const std::string& sql) const;

    QString name_;
    QSqlDatabase db_;
    ConnectionSettings::Engine engine_ = ConnectionSettings::Engine::kUnknown;
};

}  // namespace qov
