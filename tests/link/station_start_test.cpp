#include "link/station_start.h"

#include <gtest/gtest.h>

#include "app/run_error.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "support/test_environment.h"

namespace qov {
namespace {

class StationStartTest : public ::testing::Test {
protected:
    void SetUp() override { state.ConnectionString = test::MakeTempDatabase(); }
    void run(const std::string& sql) {
        db->open(state.ConnectionString);
        db->execute(sql);
        db->close();
    }
    int rows(const std::string& table) {
        db->open(state.ConnectionString);
        auto r = db->query("select * from " + table);
        int n = 0;
        while (r->next()) {
            ++n;
        }
        db->close();
        return n;
    }

    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> db = CreateSqlDatabase();
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, *db, store};
};

TEST_F(StationStartTest, StoredRowOpensTheLineAndReceivedTablesAreEmptied) {
    run("INSERT INTO PORT (Port, Qov ,tone, phonenm) values (3, '19200', 'ATDT', '011222');");
    run("INSERT INTO QOV_PLU_RCV (BAR_CODE, DESCRIPTION) values ('000000000001', 'X')");
    state.PulseDialCommand = "ATDP";
    SetStartValues(state);
    EXPECT_EQ(state.DialCommand, "ATDP");
    link.expect("Init_RS232bd", "3", 0);

    LoadStoredLine(station);
    EXPECT_EQ(state.PortNumber, 3);
    EXPECT_EQ(state.BaudRate, 19200);
    EXPECT_EQ(state.DialCommand, "ATDT");
    EXPECT_EQ(state.PhoneNumber, "011222");
    EXPECT_EQ(link.calls.front().op, "Close_RS232");
    EXPECT_EQ(link.calls.back().arg, 19200);
    EXPECT_EQ(rows("QOV_PLU_RCV"), 0);
    EXPECT_FALSE(db->isOpen());
}

TEST_F(StationStartTest, WithoutARowTheDefaultsStayAndTheLineStaysClosed) {
    SetStartValues(state);
    LoadStoredLine(station, {.openLine = true, .emptyReceivedTables = false});
    EXPECT_EQ(state.PortNumber, 1);
    EXPECT_EQ(state.BaudRate, 9600);
    EXPECT_EQ(link.count("Init_RS232bd"), 0);
}

TEST_F(StationStartTest, JunkInTheStoredRowIsATypeMismatchAndNothingOpens) {
    run("INSERT INTO PORT (Port, Qov ,tone, phonenm) values (2, 'brzo', 'ATDT', '1');");
    SetStartValues(state);
    try {
        LoadStoredLine(station);
        FAIL() << "a non-numeric speed was taken";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), RunError::kTypeMismatch);
        EXPECT_EQ(e.description(), "Type mismatch");
    }
    EXPECT_EQ(state.BaudRate, 9600);
    EXPECT_EQ(link.count("Init_RS232bd"), 0);
    EXPECT_FALSE(db->isOpen());
}

}  // namespace
}  // namespace qov
