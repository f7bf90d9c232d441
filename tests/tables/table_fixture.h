#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/database.h"
#include "link/station.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "tables/transfer_context.h"

namespace qov::test {

// A station on the fakes: scripted link and dialogs, default tables, the start-up flags.
struct TableFixture : ::testing::Test {
    TableFixture() {
        FillDefaultTables(state);
        state.CyrillicFontName = "Helvetica Ciril";
        state.LatinFontName = "Courier New";
    }

    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> database = CreateSqlDatabase();
    MemoryUserStore userStore;
    Station station{state, dialogs, calls, *database, userStore};
    tables::TransferProgress progress;
    tables::MessageLines message;
    tables::TransferContext ctx{station, progress, &message};

    // Latin on both sides: texts go to the register as they stand.
    void latin() {
        state.CyrillicMode = false;
        state.CyrillicLanguage = false;
    }
};

// Register text of a font text, for expected frames.
inline std::string Reg(std::initializer_list<int> codes) {
    std::string text;
    for (int c : codes) {
        text.push_back(static_cast<char>(c));
    }
    return text;
}

}  // namespace qov::test
