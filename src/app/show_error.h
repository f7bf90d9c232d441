#pragma once

#include <string>

#include "app/dialogs.h"
#include "app/run_error.h"

namespace qov {

// The common report of an unexpected run-time failure: one OK box. A failure to open
// the database shows the database text with a warning icon; any other failure its
// number and description with an error icon. `sender` is form + "." + procedure + "()".
void ShowError(Dialogs& dialogs, const RunError& error, const std::string& sender);

// The same for a failure that did not come as a RunError (an unexpected exception).
void ShowError(Dialogs& dialogs, const std::exception& error, const std::string& sender);

}  // namespace qov
