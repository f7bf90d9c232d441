#pragma once

#include "app/database.h"
#include "app/dialogs.h"
#include "app/shared_state.h"
#include "app/user_store.h"
#include "link/link_calls.h"

namespace qov {

// What a screen's logic or a procedure works with: the shared state and the services.
// The application (or qovctl, or a test) owns them all; this only refers to them.
struct Station {
    SharedState& state;
    Dialogs& dialogs;
    LinkCalls& link;
    Database& database;
    UserStore& userStore;
};

}  // namespace qov
