#pragma once

#include <memory>
#include <string>

namespace qov {

// A forward-only result: next() moves to the next row; values are read by column
// name without regard to case, as text (NULL reads as empty text). Numbers read in their
// shortest decimal form with a point ("45.5", "12"); yes/no values as "1"/"0" (see SqlTruth).
// Reading a column the result does not have, or reading with no current row, throws RunError.
class RowSet {
public:
    virtual ~RowSet() = default;
    virtual bool next() = 0;
    virtual std::string value(const std::string& column) const = 0;
    virtual bool hasColumn(const std::string& column) const = 0;
};

// A database connection reached through the settings file's connection string.
// Each operation opens its own connection and closes it when done. Statements are
// the program's own SQL texts; a dialect step lets every engine run them. Texts are
// byte strings (Latin-1 into and out of the engine).
//
// Failures throw RunError: opening with RunError::kDatabaseUnavailable, a statement
// with the engine's error number and text.
class Database {
public:
    virtual ~Database() = default;
    virtual void open(const std::string& connectionString) = 0;
    virtual void execute(const std::string& sql) = 0;
    virtual std::unique_ptr<RowSet> query(const std::string& sql) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // A transaction on the open connection, for work that must land whole or not at all
    // (an import). The program's own statements otherwise run one by one, autocommitted.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

// The QtSql implementation (SQLite, PostgreSQL), chosen by the connection string's Driver.
std::unique_ptr<Database> CreateSqlDatabase();

// A text value for a statement: in single quotes, single quotes inside doubled.
std::string SqlText(const std::string& value);

// A decimal value for a statement: point as separator, no grouping, no trailing zeros.
std::string SqlNumber(double value);

// Reads a yes/no column value: any non-zero number ("1", "-1") and "true"/"t"/"yes" (any case)
// are true; "0", empty text (NULL) and anything else are false.
bool SqlTruth(const std::string& value);

}  // namespace qov
