#include "link/station_start.h"

#include <gtest/gtest.h>

#include "app/run_error.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "support/test_environment.h"

namespace qov {
namespace {

// Loads the stored line from a fresh database holding one received article and `row` in PORT
// (none when empty). Returns "port|speed|dial|phone|error|received rows left|" and the link
// calls. The database must be closed again whatever happened.
std::string LoadWith(const std::string& row) {
    SharedState state;
    state.ConnectionString = test::MakeTempDatabase();
    state.PulseDialCommand = "ATDP";
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    const auto db = CreateSqlDatabase();
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, *db, store};
    db->open(state.ConnectionString);
    db->execute("INSERT INTO QOV_PLU_RCV (BAR_CODE, DESCRIPTION) values ('000000000001', 'X')");
    if (!row.empty())
        db->execute("INSERT INTO PORT (Port, Qov ,tone, phonenm) values (" + row + ");");
    db->close();
    SetStartValues(state);
    std::string error;
    try {
        LoadStoredLine(station);
    } catch (const RunError& e) {
        error = std::to_string(e.number()) + " " + e.description();
    }
    EXPECT_FALSE(db->isOpen());
    db->open(state.ConnectionString);
    std::string out = std::to_string(state.PortNumber) + "|" + std::to_string(state.BaudRate) +
                      "|" + state.DialCommand + "|" + state.PhoneNumber + "|" + error +
                      (db->query("select * from QOV_PLU_RCV")->next() ? "|1|" : "|0|");
    db->close();
    for (const test::LinkCall& call : link.calls)
        out += call.op + " " + call.text + " " + std::to_string(call.arg) + ";";
    return out;
}

TEST(StationStart, StoredPortRowOpensTheLineAndEmptiesTheReceivedTables) {
    EXPECT_EQ(LoadWith("3, '19200', 'ATDT', '011222'"),
              "3|19200|ATDT|011222||0|Close_RS232  0;Init_RS232bd 3 19200;");
}

TEST(StationStart, WithoutARowTheDefaultsStayAndTheLineStaysClosed) {
    EXPECT_EQ(LoadWith(""), "1|9600|ATDP|||0|Close_RS232  0;");
}

TEST(StationStart, JunkInTheRowIsATypeMismatchAndNothingOpensOrIsEmptied) {
    EXPECT_EQ(LoadWith("2, 'brzo', 'ATDT', '1'"),
              "1|9600|ATDP||13 Type mismatch|1|Close_RS232  0;");
}

}  // namespace
}  // namespace qov
