#include "tables/transfer_run.h"

#include <exception>

#include "articles/register_articles.h"
#include "tables/display_message.h"

namespace qov::tables {

TransferRun::TransferRun(Station& station, TransferDirection direction)
    : TransferRun(station, direction, TransferList(direction)) {}

TransferRun::TransferRun(Station& station, TransferDirection direction,
                         std::vector<TransferEntry> entries)
    : station_(station),
      direction_(direction),
      entries_(std::move(entries)),
      selected_(entries_.size(), false),
      marks_(entries_.size(), TransferMark::None) {
    if (direction_ == TransferDirection::Receive) {
        deleteArticles = articles::DeleteRegisterArticles;
        eraseSales = articles::ClearRegisterSales;
    }
}

std::string TransferRun::formName() const {
    return direction_ == TransferDirection::Transmit ? "frmtrasm" : "frmRicevi";
}

std::string TransferRun::caption() const {
    return direction_ == TransferDirection::Transmit ? "Slanje" : "Prijem";
}

std::string TransferRun::listTitle() const {
    return direction_ == TransferDirection::Transmit ? "Spisak podataka za programiranje"
                                                     : "Lista podataka koji se mogu primiti";
}

void TransferRun::open() {
    if (direction_ == TransferDirection::Transmit) {
        station_.state.CurrentForm = "frmtrasm";
        messageFont_ = station_.state.CyrillicLanguage ? "Helvetica Ciril" : "MS Sans Serif";
        DoChangeLang();
    } else {
        station_.state.CurrentForm = "ne";
    }
}

void TransferRun::close() {
    if (direction_ == TransferDirection::Transmit) {
        station_.state.CurrentForm = " ";
    }
}

void TransferRun::setSelected(int pos, bool selected) {
    if (pos >= 0 && pos < static_cast<int>(selected_.size())) {
        selected_[pos] = selected;
    }
}

bool TransferRun::isSelected(int pos) const {
    return pos >= 0 && pos < static_cast<int>(selected_.size()) && selected_[pos];
}

void TransferRun::selectNone() {
    selected_.assign(selected_.size(), false);
}

TransferMark TransferRun::mark(int pos) const {
    if (pos < 0 || pos >= static_cast<int>(marks_.size())) {
        return TransferMark::None;
    }
    return marks_[pos];
}

void TransferRun::reset_img() {
    marks_.assign(marks_.size(), TransferMark::None);
}

bool TransferRun::invia() {
    Dialogs& dialogs = station_.dialogs;
    dialogs.setBusy(true);
    reset_img();
    results_.clear();
    running_ = true;
    cancelled_ = false;
    handledBeforeCancel_ = 0;
    progress_.resetCancel();
    progress_.clear();

    linkAnswered_ = station_.link.testConnection() == 0;
    bool allOk = linkAnswered_;
    if (!linkAnswered_) {
        if (direction_ == TransferDirection::Transmit) {
            dialogs.message("Veza nije u redu!", kTitle, Icon::Critical);
        }
    } else if (direction_ == TransferDirection::Transmit && beforeSend &&
               !beforeSend(station_, progress_)) {
        allOk = false;
        cancelled_ = progress_.cancelRequested();
        handledBeforeCancel_ = cancelled_ ? progress_.done() : 0;
    } else {
        TransferContext ctx{station_, progress_,
                            direction_ == TransferDirection::Transmit ? &message_ : nullptr};
        for (std::size_t pos = 0; pos < entries_.size(); ++pos) {
            if (!selected_[pos]) {
                continue;
            }
            const TransferEntry& entry = entries_[pos];
            progress_.setCaption(entry.caption);
            bool ok = false;
            if (entry.procedure) {
                try {
                    ok = entry.procedure(ctx);
                } catch (const std::exception&) {
                    ok = false;
                }
            }
            marks_[pos] = ok ? TransferMark::Success : TransferMark::Failure;
            results_.push_back({static_cast<int>(pos), ok});
            allOk = allOk && ok;
            if (progress_.changed) {
                progress_.changed();
            }
            dialogs.yield();
            if (progress_.cancelRequested()) {
                // Stopped between two records: the tables after this one do not run.
                cancelled_ = true;
                handledBeforeCancel_ = progress_.done();
                allOk = false;
                break;
            }
        }
    }

    running_ = false;
    dialogs.setBusy(false);
    if (direction_ == TransferDirection::Transmit) {
        DoChangeLang();
    }
    return allOk;
}

void TransferRun::cancel() {
    if (running_) {
        progress_.requestCancel();
    }
}

std::string TransferRun::cancelNote() const {
    if (!cancelled_) {
        return {};
    }
    return "Prenos prekinut, obradjeno zapisa: " + std::to_string(handledBeforeCancel_);
}

int TransferRun::messageLineLength() const {
    return MessageLineLength(station_.state);
}

void TransferRun::setMessageLine(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(message_.size())) {
        return;
    }
    message_[index] = text.substr(0, static_cast<std::size_t>(messageLineLength()));
}

void TransferRun::DoChangeLang() {
    const SharedState& state = station_.state;
    messageFont_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    ConvertMessageLines(state, message_);
}

bool TransferRun::onToolbar(const std::string& key) {
    if (key == "invia") {
        invia();
    } else if (key == "esci") {
        close();
        return true;
    } else if (direction_ == TransferDirection::Receive && (key == "delete" || key == "erase")) {
        const auto& operation = key == "delete" ? deleteArticles : eraseSales;
        station_.dialogs.setBusy(true);
        cancelled_ = false;
        progress_.resetCancel();
        if (operation) {
            running_ = true;
            progress_.clear();
            operation(station_, progress_);
            running_ = false;
        }
        station_.dialogs.setBusy(false);
    }
    return false;
}

}  // namespace qov::tables
