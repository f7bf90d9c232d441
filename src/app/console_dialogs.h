#pragma once

#include <iosfwd>

#include "app/dialogs.h"

namespace qov {

// Dialogs for the command line: every box is printed as "TITLE: TEXT" on the error
// stream; a Retry/Cancel box is answered Retry up to `retries` times in all, then
// Cancel; a Yes/No box Yes when `yes` is set, else No. File dialogs return nothing.
class ConsoleDialogs : public Dialogs {
public:
    ConsoleDialogs(std::ostream& err, int retries, bool yes)
        : err_(err), retriesLeft_(retries), yes_(yes) {}

    Answer show(const MessageBox& box) override;
    std::string openFile(const FileDialog&) override { return {}; }
    std::string saveFile(const FileDialog&) override { return {}; }
    void setBusy(bool) override {}
    void yield() override {}

private:
    std::ostream& err_;
    int retriesLeft_;
    bool yes_;
};

}  // namespace qov
