#pragma once

#include <array>
#include <string>

#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::settings {

inline constexpr int kPrintLineCount = 6;            // lines 0-5
inline constexpr std::size_t kStoredTextWidth = 32;  // the text part of a stored line
inline constexpr char kEsc = 27;                     // before every character of a bold line
inline constexpr int kBoldFontSize = 15;
inline constexpr int kPlainFontSize = 11;

// What tells the receipt header from the advertisement: the two twins differ only in this.
struct PrintLinesKind {
    const char* formName;  // CurrentForm while open
    const char* caption;
    std::array<const char*, kPrintLineCount> tooltips;
    char letter;                            // frame letter
    const char* refusalName;                // " Red zaglavlja " / " Red reklame "
    PrintLinesT SharedState::*lines;        // stored lines
    PrintLineTableT SharedState::*records;  // working records
};

extern const PrintLinesKind kHeaderKind;  // frmIntestazione, "S"
extern const PrintLinesKind kAdvertKind;  // frmadvertize, "A"

// A mark of a stored line (index 32 bold, 33 centre): on unless it is "0"; a mark the line is
// too short to hold reads as off.
bool StoredMark(const std::string& stored, std::size_t index);

// A stored line in the script form of CyrillicMode: the text part converted, the marks kept in
// their places (a text made longer is cut at 32), so the line keeps its 34-character form.
std::string ConvertStoredLine(const std::string& stored, bool toLatin);

// The stored form of a line: the text cut or padded to 32, the bold mark, the centre mark.
std::string StoredLine(const std::string& text, bool bold, bool centre);

// One line field of the screen as it shows.
struct LineField {
    std::string text;
    bool bold = false;    // bold at font size 15, else plain at size 11
    bool centre = false;  // centred, else aligned left
    int fontSize() const { return bold ? kBoldFontSize : kPlainFontSize; }
};

// The logic of the twin screens frmIntestazione ("Zaglavlje") and frmadvertize ("Reklamna
// poruka"): six line fields with bold and centre marks, refreshed from the stored lines, checked
// and stored back. The marks of the toolbar act on the working records directly.
class PrintLinesEditor {
public:
    PrintLinesEditor(Station& station, const PrintLinesKind& kind)
        : station_(station), kind_(kind) {}

    const PrintLinesKind& kind() const { return kind_; }

    // Opening: Osvezi, CurrentForm, the width of the fields, DoChangeLang.
    void open();

    // Fills the fields from the stored lines longer than 2 characters (their script form
    // written back), rebuilding their working records.
    void Osvezi();
    // Checks the fields and stores them as stored lines; false (with the message of the first
    // offending line) when a line is too wide, nothing stored then.
    bool Sacuvaj();
    // The fields in the script form of CyrillicMode, with its font; bold where the record is.
    void DoChangeLang();

    // How many characters a field takes: 22 when LineWidth is 22, else 32. A width change cuts
    // what the fields hold beyond it.
    std::size_t maxLength() const;
    void lineWidthChanged();

    // The toolbar marks on the focused line.
    void setFocused(int line);
    int focused() const { return focused_; }
    void toggleBold();
    void setCentre(bool centre);

    // Toolbar keys "Bold", "Center", "Align Left", "Aggiorna" (Sacuvaj, and close when it
    // succeeds), "Annulla" (close without saving). Returns true when the screen closes.
    bool onToolbar(const std::string& key);

    // A program file was opened.
    void reload();

    std::array<LineField, kPrintLineCount> fields;
    const std::string& fontName() const { return fontName_; }

private:
    PrintLinesT& lines() { return station_.state.*kind_.lines; }
    PrintLineTableT& records() { return station_.state.*kind_.records; }

    Station& station_;
    const PrintLinesKind& kind_;
    int focused_ = 0;
    std::string fontName_;
};

// The line preparation of the transmit, in its order over lines 0-5: records rebuilt from
// the stored lines whose trimmed text is longer than 2 characters (others keep their record),
// ESC before every character of a bold line, centring, the empty tail as NUL lines from line 5
// down (line 0 never). Leaves the prepared texts in the working records.
void PreparePrintLines(SharedState& state, const PrintLinesKind& kind);

// The frame of line `line` as its prepared record stands: the letter, the line digit, the text
// in the script form of CyrillicMode (written back) as register text when CyrillicLanguage is
// on, padded to 32, NUL.
std::string PrintLineFrame(SharedState& state, const PrintLinesKind& kind, int line);

// Sends the six receipt header lines (frames "S").
bool invia_int(tables::TransferContext& ctx);
// Runs the transmit screen's DoChangeLang, then sends the six advertisement lines ("A").
bool invia_adv(tables::TransferContext& ctx);

}  // namespace qov::settings
