#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/database.h"
#include "app/run_error.h"
#include "link/station.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "support/test_environment.h"

namespace qov::test {

// A database that passes everything on to a real one, records each statement and fails the
// n-th (from 1) as the engine would fail a statement it cannot run.
class RecordingDatabase : public Database {
public:
    explicit RecordingDatabase(Database& real) : real_(real) {}
    void open(const std::string& connection) override { real_.open(connection); }
    void execute(const std::string& sql) override {
        step(sql);
        real_.execute(sql);
    }
    std::unique_ptr<RowSet> query(const std::string& sql) override {
        step(sql);
        return real_.query(sql);
    }
    void close() override { real_.close(); }
    bool isOpen() const override { return real_.isOpen(); }
    void begin() override { real_.begin(); }
    void commit() override { real_.commit(); }
    void rollback() override { real_.rollback(); }

    std::vector<std::string> statements;
    std::size_t failAt = 0;

private:
    void step(const std::string& sql) {
        statements.push_back(sql);
        if (statements.size() == failAt) {
            throw RunError(1, "no such table: QOV_PLU");
        }
    }
    Database& real_;
};

// A station on a fresh SQLite article database, Latin on both sides, 32-character lines.
struct ArticleFixture : ::testing::Test {
    ArticleFixture() {
        FillDefaultTables(state);
        state.CyrillicMode = state.CyrillicLanguage = false;
        state.MaxPrice = 99999.99;
        state.LineWidth = 32;
        state.CyrillicFontName = "Helvetica Ciril";
        state.LatinFontName = "Courier New";
        state.ConnectionString = MakeTempDatabase();
    }

    // Switches to the PostgreSQL server of QOV_TEST_PG, holding its lock for the whole case
    // (cases run as parallel processes), with empty article tables. False without a server.
    bool UsePostgreSQL() {
        const char* pg = std::getenv("QOV_TEST_PG");
        if (pg == nullptr || *pg == '\0') {
            return false;
        }
        state.ConnectionString = pg;
        guard->open(pg);
        guard->query("select pg_advisory_lock(730125)");
        for (const char* table : {"QOV_PLU", "QOV_PLU_RCV", "QOV_PLU_RCV_SOLD"}) {
            guard->execute(std::string("delete from ") + table);
        }
        return true;
    }

    // Runs statements on a connection of their own.
    void Sql(std::initializer_list<std::string> statements) {
        auto db = CreateSqlDatabase();
        db->open(state.ConnectionString);
        for (const std::string& sql : statements) {
            db->execute(sql);
        }
    }

    // Every row of an article table in code order, the columns joined by "|" (TOTAL and QTY
    // only where the table has them), one row a line.
    std::string Dump(const std::string& table = "QOV_PLU") {
        auto db = CreateSqlDatabase();
        db->open(state.ConnectionString);
        std::string out;
        for (auto rows = db->query("select * from " + table + " order by BAR_CODE");
             rows->next();) {
            std::string row;
            for (const char* column :
                 {"BAR_CODE", "DESCRIPTION", "PRICE", "VAT_CODE", "MES_TYPE", "ART_TYPE",
                  "ONE_ITEM", "DEPARTMENT", "INVENTARY", "TOTAL", "QTY"}) {
                row +=
                    rows->hasColumn(column) ? (row.empty() ? "" : "|") + rows->value(column) : "";
            }
            out += row + "\n";
        }
        return out;
    }

    // Every box shown as "TITLE: TEXT", then its icon and buttons where it has them.
    std::vector<std::string> shown() const { return dialogs.lines(); }

    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> real = CreateSqlDatabase();
    RecordingDatabase database{*real};
    MemoryUserStore userStore;
    Station station{state, dialogs, calls, database, userStore};
    std::unique_ptr<Database> guard = CreateSqlDatabase();  // PostgreSQL: holds the lock
};

// An article row of QOV_PLU (or a received table with `extra` = ", TOTAL, QTY" values).
inline std::string PluRow(const std::string& code, const std::string& name,
                          const std::string& price, const std::string& stock,
                          const std::string& table = "QOV_PLU", const std::string& extra = "") {
    return "insert into " + table +
           " (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, ONE_ITEM, DEPARTMENT, "
           "INVENTARY" +
           (extra.empty() ? "" : ", TOTAL, QTY") + ") values ('" + code + "', '" + name + "', " +
           price + ", 2, 1, 3, 1, 4, " + stock + extra + ")";
}

}  // namespace qov::test
