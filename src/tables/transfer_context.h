#pragma once

#include <array>
#include <functional>
#include <string>

#include "link/station.h"

namespace qov::tables {

// The progress display of a transfer screen: the caption of the table that runs and the
// record counter. The screen sets `changed` to repaint when either moves.
class TransferProgress {
public:
    const std::string& caption() const { return caption_; }
    const std::string& counter() const { return counter_; }

    void setCaption(const std::string& caption) {
        caption_ = caption;
        notify();
    }
    void setCounter(int record) {
        counter_ = std::to_string(record);
        notify();
    }
    void clear() {
        caption_.clear();
        counter_.clear();
        notify();
    }

    std::function<void()> changed;

private:
    void notify() {
        if (changed) {
            changed();
        }
    }

    std::string caption_;
    std::string counter_;
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
