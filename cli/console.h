// What qovctl shows and asks on the terminal: the progress line of a run and the questions.
#pragma once

#include <chrono>
#include <string>

#include "app/dialogs.h"
#include "options.h"
#include "tables/transfer_context.h"

namespace qovctl {

// Asks QUESTION on stderr and reads the answer from stdin unless --yes; true for yes.
bool AskYes(const Options& options, const std::string& question);

// The progress line on the error stream while stderr is a terminal: caption, records done of
// the total and the rate, rewritten in place at most ten times a second. It also makes Ctrl+C
// cancel the run between two records.
class ProgressLine {
public:
    explicit ProgressLine(qov::tables::TransferProgress& progress);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

private:
    using Clock = std::chrono::steady_clock;
    void show(bool now);

    qov::tables::TransferProgress& progress_;
    bool shown_;
    bool written_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

// The console's boxes, with the Yes/No questions answered by --yes or from stdin.
class AskingDialogs : public qov::Dialogs {
public:
    AskingDialogs(qov::Dialogs& console, const Options& options)
        : console_(console), options_(options) {}
    qov::Answer show(const qov::MessageBox& box) override;
    std::string openFile(const qov::FileDialog& d) override { return console_.openFile(d); }
    std::string saveFile(const qov::FileDialog& d) override { return console_.saveFile(d); }
    void setBusy(bool busy) override { console_.setBusy(busy); }
    void yield() override { console_.yield(); }

private:
    qov::Dialogs& console_;
    const Options& options_;
};

}  // namespace qovctl
