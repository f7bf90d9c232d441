#pragma once

#include <array>
#include <functional>
#include <string>

#include "link/station.h"

namespace qov::tables {

// The progress display of a transfer screen: the caption of the table that runs, the record
// counter, and records done of the known total (the progress bar). The screen sets `changed` to
// repaint when any of them moves. A cancel asked for while a run goes is honoured between two
// records: the loops look at cancelRequested() before each record, never inside an exchange.
class TransferProgress {
public:
    const std::string& caption() const { return caption_; }
    const std::string& counter() const { return counter_; }
    int done() const { return done_; }
    int total() const { return total_; }  // 0: not known

    void setCaption(const std::string& caption) {
        caption_ = caption;
        notify();
    }
    void setCounter(int record) {
        counter_ = std::to_string(record);
        notify();
    }
    // A table starts: nothing done of `total` records.
    void start(int total) {
        total_ = total;
        done_ = 0;
        notify();
    }
    void setDone(int done) {
        done_ = done;
        notify();
    }
    void clear() {
        caption_.clear();
        counter_.clear();
        done_ = total_ = 0;
        notify();
    }

    // "Prekini": asks the run to stop at the next record boundary.
    void requestCancel() { cancel_ = true; }
    // Also true when `cancelSource` says so (qovctl's interrupt signal).
    bool cancelRequested() const { return cancel_ || (cancelSource && cancelSource()); }
    void resetCancel() { cancel_ = false; }

    std::function<void()> changed;
    std::function<bool()> cancelSource;

private:
    void notify() {
        if (changed) {
            changed();
        }
    }

    std::string caption_;
    std::string counter_;
    int done_ = 0;
    int total_ = 0;
    bool cancel_ = false;
};

// The three lines of the transmit screen's display-message panel (Red1-Red3).
using MessageLines = std::array<std::string, 3>;

// What a table's transfer procedure works with: the station, the progress display of the
// screen that runs it and, on the transmit screen, the message panel.
struct TransferContext {
    Station& station;
    TransferProgress& progress;
    MessageLines* message = nullptr;

    SharedState& state() { return station.state; }
    Dialogs& dialogs() { return station.dialogs; }
    LinkCalls& link() { return station.link; }
};

// A table's transfer procedure (invia_..., ricevi_..., Posalji_Msg): true when every record
// was handled, false when the run of that table was abandoned.
using TransferProcedure = std::function<bool(TransferContext&)>;

}  // namespace qov::tables
