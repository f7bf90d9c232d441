#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/station.h"
#include "tables/transfer_context.h"
#include "tables/transfer_lists.h"

namespace qov::tables {

// The result mark beside a list entry.
enum class TransferMark { None, Success, Failure };

// The logic of the transfer screens: frmtrasm ("Slanje", transmit) and frmRicevi ("Prijem",
// receive). A multi-select list in fixed order, a result mark per entry, the progress
// caption and record counter, and on the transmit screen the display-message panel.
class TransferRun {
public:
    TransferRun(Station& station, TransferDirection direction);
    // With a list of its own (tests, or a screen that shows only some tables).
    TransferRun(Station& station, TransferDirection direction, std::vector<TransferEntry> entries);

    TransferDirection direction() const { return direction_; }
    std::string formName() const;   // "frmtrasm" / "frmRicevi"
    std::string caption() const;    // "Slanje" / "Prijem"
    std::string listTitle() const;  // the list's title
    const std::vector<TransferEntry>& entries() const { return entries_; }

    // Opening the screen: CurrentForm, the message panel's font, DoChangeLang.
    void open();
    // "esci": the transmit screen clears CurrentForm to " ".
    void close();

    void setSelected(int pos, bool selected);
    bool isSelected(int pos) const;
    void selectNone();
    TransferMark mark(int pos) const;

    TransferProgress& progress() { return progress_; }
    const TransferProgress& progress() const { return progress_; }

    // Hides every result mark.
    void reset_img();

    // "invia": the busy pointer, the marks hidden, the connection test, then each selected
    // entry's procedure in list order with its mark; a failed entry does not stop the run.
    // True when the link answered and every selected entry returned true.
    bool invia();

    // The outcome of the last "invia": whether the link answered, and the entries run.
    struct EntryResult {
        int position;
        bool ok;
    };
    bool linkAnswered() const { return linkAnswered_; }
    const std::vector<EntryResult>& results() const { return results_; }

    // "Prekini": while a run goes, stops it between two records. The record in flight is
    // finished, its table is marked failed and the tables after it do not run.
    void cancel();
    // A run (or a delete/erase operation) is going: "Prekini" is enabled.
    bool running() const { return running_; }
    // Whether the last run was stopped by "Prekini", and the records of the stopped table
    // handled before it stopped.
    bool cancelled() const { return cancelled_; }
    int handledBeforeCancel() const { return handledBeforeCancel_; }
    // What the screen says after a stopped run, e.g. "Prenos prekinut, obradjeno zapisa: 12";
    // empty when the last run was not stopped.
    std::string cancelNote() const;

    // The message panel (transmit screen).
    MessageLines& messageLines() { return message_; }
    const MessageLines& messageLines() const { return message_; }
    // A line as typed: at most messageLineLength() characters are taken.
    void setMessageLine(int index, const std::string& text);
    int messageLineLength() const;
    // Esc in the list hides the panel.
    bool messagePanelVisible() const { return messagePanelVisible_; }
    void setMessagePanelVisible(bool visible) { messagePanelVisible_ = visible; }
    // The font of the message lines.
    const std::string& messageFont() const { return messageFont_; }
    // The message lines in the script form of CyrillicMode, and their font.
    void DoChangeLang();

    // The toolbar of either screen: "invia", "esci" (and on the receive screen "delete" and
    // "erase", which belong to the article receive). Returns true when the screen closes.
    bool onToolbar(const std::string& key);

    // The receive screen's "delete" and "erase" operations ("Brisanje Artikala", "Brisanje
    // Prodaje"); the receive screen starts with the register's article deletion and sales
    // clearing, and a screen or test may hand it others.
    using Operation = std::function<bool(Station&, TransferProgress&)>;
    Operation deleteArticles;
    Operation eraseSales;
    // The transmit screen's step after the link test and before the first table ("Rezervna
    // kopija pre slanja"); false stops the run before anything is sent.
    Operation beforeSend;

private:
    Station& station_;
    TransferDirection direction_;
    std::vector<TransferEntry> entries_;
    std::vector<bool> selected_;
    std::vector<TransferMark> marks_;
    TransferProgress progress_;
    MessageLines message_;
    bool messagePanelVisible_ = true;
    std::string messageFont_;
    bool linkAnswered_ = false;
    std::vector<EntryResult> results_;
    bool running_ = false;
    bool cancelled_ = false;
    int handledBeforeCancel_ = 0;
};

}  // namespace qov::tables
