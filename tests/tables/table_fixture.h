#pragma once

#include <gtest/gtest.h>

#include "app/database.h"
#include "link/station.h"
#include "support/fake_station.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "tables/transfer_context.h"

namespace qov::test {

// A station on the fakes: scripted link and dialogs, default tables, Latin on both sides.
struct TableFixture : ::testing::Test, FakeStation {
    TableFixture() {
        FillDefaultTables(state);
        state.CyrillicMode = state.CyrillicLanguage = false;
    }
    // Every box shown as "TITLE: TEXT", then its icon and buttons where it has them.
    std::vector<std::string> shown() const { return dialogs.lines(); }

    tables::TransferProgress progress;
    tables::MessageLines message;
    tables::TransferContext ctx{station, progress, &message};
};

// Register text from its byte values.
inline std::string Reg(std::initializer_list<int> codes) {
    return std::string(codes.begin(), codes.end());
}

}  // namespace qov::test
