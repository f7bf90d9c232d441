#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/database.h"
#include "support/test_environment.h"

namespace qov::test {

// A fresh SQLite article database with the project's schema, in its own temporary folder.
// Returns the connection string.
inline std::string MakeTempDatabase() {
    const std::string folder = MakeTempFolder("qovdb");
    WriteFile(folder + "/QovCom.db", "");
    const std::string connection = "Driver=SQLite;Database=" + folder + "/QovCom.db";
    std::istringstream schema(ReadFile(QOV_SOURCE_DIR "/db/sqlite.sql"));
    std::string line;
    std::string statement;
    auto db = CreateSqlDatabase();
    db->open(connection);
    while (std::getline(schema, line)) {
        if (line.rfind("--", 0) == 0) {
            continue;
        }
        statement += line + "\n";
        if (line.find(';') != std::string::npos) {
            db->execute(statement);
            statement.clear();
        }
    }
    db->close();
    return connection;
}

// A database that passes every call to a real one and records the statements.
class RecordingDatabase : public Database {
public:
    RecordingDatabase() : real_(CreateSqlDatabase()) {}

    void open(const std::string& connectionString) override {
        ++opens;
        real_->open(connectionString);
    }
    void execute(const std::string& sql) override {
        statements.push_back(sql);
        real_->execute(sql);
    }
    std::unique_ptr<RowSet> query(const std::string& sql) override {
        statements.push_back(sql);
        return real_->query(sql);
    }
    void close() override { real_->close(); }
    bool isOpen() const override { return real_->isOpen(); }

    // Runs a statement on its own connection, unrecorded.
    void run(const std::string& connection, const std::string& sql) {
        auto db = CreateSqlDatabase();
        db->open(connection);
        db->execute(sql);
        db->close();
    }
    // The rows of a query as "a|b|c" lines, unrecorded.
    std::vector<std::string> rows(const std::string& connection, const std::string& sql,
                                  const std::vector<std::string>& columns) {
        auto db = CreateSqlDatabase();
        db->open(connection);
        auto set = db->query(sql);
        std::vector<std::string> out;
        while (set->next()) {
            std::string row;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                row += (i ? "|" : "") + set->value(columns[i]);
            }
            out.push_back(row);
        }
        db->close();
        return out;
    }

    std::vector<std::string> statements;
    int opens = 0;

private:
    std::unique_ptr<Database> real_;
};

}  // namespace qov::test
