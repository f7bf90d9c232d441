#pragma once

#include <memory>

#include "app/database.h"
#include "link/station.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"

namespace qov::test {

// A station on the fakes: scripted dialogs and link, the real database service (opened only
// when a test gives it a connection string), a per-user store in memory. Test fixtures derive
// from it next to ::testing::Test.
struct FakeStation {
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> database = CreateSqlDatabase();
    MemoryUserStore userStore;
    Station station{state, dialogs, calls, *database, userStore};
};

}  // namespace qov::test
