#include "settings/print_lines.h"

#include <algorithm>
#include <exception>

#include "settings/system_params.h"
#include "tables/fields.h"
#include "tables/record_loops.h"
#include "text/transcode.h"

namespace qov::settings {

using tables::PadRight;
using tables::TrimBlanks;

const PrintLinesKind kHeaderKind{
    "frmIntestazione",
    "Zaglavlje",
    {"Prvi red zaglavlja", "Drugi red zaglavlja", "Treci red zaglavlja", "Cetvrti red zaglavlja",
     "Peti red zaglavlja", "Sesti red zaglavlja"},
    'S',
    " Red zaglavlja ",
    &SharedState::HeaderLines,
    &SharedState::HeaderTable,
};

const PrintLinesKind kAdvertKind{
    "frmadvertize",
    "Reklamna poruka",
    {"Prvi red reklamne poruke", "Drugi red reklamne poruke", "Treci red reklamne poruke",
     "Cetvrti red reklamne poruke", "Peti red reklamne poruke", "Sesti red reklamne poruke"},
    'A',
    " Red reklame ",
    &SharedState::AdvertLines,
    &SharedState::AdvertTable,
};

namespace {

constexpr std::size_t kBoldMark = 32;
constexpr std::size_t kCentreMark = 33;

// LineWidth as a count of characters (a negative width from a file counts as none).
std::size_t Width(const SharedState& state) {
    return static_cast<std::size_t>(std::max<int>(0, state.LineWidth));
}

// The last blanks removed.
std::string TrimRight(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// A bold line's width: 1 for every blank, 2 for every other character.
std::size_t BoldWidth(const std::string& text) {
    std::size_t width = 0;
    for (char c : text) {
        width += c == ' ' ? 1 : 2;
    }
    return width;
}

}  // namespace

std::string ConvertStoredLine(const std::string& stored, bool toLatin) {
    if (stored.size() <= kStoredTextWidth) {
        return ConvertDigraphs(stored, toLatin);
    }
    return tables::FitRight(ConvertDigraphs(stored.substr(0, kStoredTextWidth), toLatin),
                            kStoredTextWidth) +
           stored.substr(kStoredTextWidth);
}

bool StoredMark(const std::string& stored, std::size_t index) {
    return index < stored.size() && stored[index] != '0';
}

std::string StoredLine(const std::string& text, bool bold, bool centre) {
    return tables::FitRight(text, kStoredTextWidth) + (bold ? "1" : "0") + (centre ? "1" : "0");
}

void PrintLinesEditor::open() {
    Osvezi();
    station_.state.CurrentForm = kind_.formName;
    lineWidthChanged();
    DoChangeLang();
}

void PrintLinesEditor::Osvezi() {
    SharedState& state = station_.state;
    for (int i = 0; i < kPrintLineCount; ++i) {
        std::string& stored = lines()[i];
        if (stored.size() <= 2) {
            continue;
        }
        stored = ConvertStoredLine(stored, !state.CyrillicMode);
        PrintLineRecord& record = records()[i];
        record.text = stored.substr(0, Width(state));
        record.bold = StoredMark(stored, kBoldMark);
        record.centre = StoredMark(stored, kCentreMark);
        LineField& field = fields[i];
        field.text = TrimBlanks(record.text).empty() ? std::string() : record.text;
        field.centre = record.centre;
        field.bold = record.bold;
    }
}

void PrintLinesEditor::DoChangeLang() {
    const SharedState& state = station_.state;
    fontName_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    for (int i = 0; i < kPrintLineCount; ++i) {
        fields[i].text = ConvertDigraphs(fields[i].text, !state.CyrillicMode);
        if (records()[i].bold) {
            fields[i].bold = true;
        }
    }
}

bool PrintLinesEditor::Sacuvaj() {
    DoChangeLang();
    const SharedState& state = station_.state;
    for (int i = 0; i < kPrintLineCount; ++i) {
        records()[i].text = TrimRight(fields[i].text);
        records()[i].bold = fields[i].bold;
    }
    const std::string width = std::to_string(state.LineWidth);
    for (int i = 0; i < kPrintLineCount; ++i) {
        const PrintLineRecord& record = records()[i];
        const std::string number = std::to_string(i + 1);
        if (record.text.size() > Width(state)) {
            station_.dialogs.message(
                " Broj karaktera u redu " + number + " je veci od " + width + " ! ", kSettingsTitle,
                Icon::Information);
            return false;
        }
        if (record.bold && BoldWidth(record.text) > Width(state)) {
            station_.dialogs.message(
                " Podebljana slova zauzimaju 2 mesta tako da je broj karaktera u redu " + number +
                    " veci od " + width + " ! ",
                kSettingsTitle, Icon::Information);
            return false;
        }
    }
    for (int i = 0; i < kPrintLineCount; ++i) {
        const PrintLineRecord& record = records()[i];
        lines()[i] = StoredLine(record.text, record.bold, record.centre);
    }
    return true;
}

std::size_t PrintLinesEditor::maxLength() const {
    return station_.state.LineWidth == 22 ? 22 : kStoredTextWidth;
}

void PrintLinesEditor::lineWidthChanged() {
    for (LineField& field : fields) {
        if (field.text.size() > maxLength()) {
            field.text.resize(maxLength());
        }
    }
}

void PrintLinesEditor::setFocused(int line) {
    if (line >= 0 && line < kPrintLineCount) {
        focused_ = line;
    }
}

void PrintLinesEditor::toggleBold() {
    const bool bold = !fields[focused_].bold;
    fields[focused_].bold = bold;
    records()[focused_].bold = bold;
}

void PrintLinesEditor::setCentre(bool centre) {
    fields[focused_].centre = centre;
    records()[focused_].centre = centre;
}

bool PrintLinesEditor::onToolbar(const std::string& key) {
    if (key == "Bold") {
        toggleBold();
    } else if (key == "Center") {
        setCentre(true);
    } else if (key == "Align Left") {
        setCentre(false);
    } else if (key == "Aggiorna") {
        return Sacuvaj();
    } else if (key == "Annulla") {
        station_.state.CurrentForm = " ";
        return true;
    }
    return false;
}

void PrintLinesEditor::reload() {
    Osvezi();
    DoChangeLang();
}

void PreparePrintLines(SharedState& state, const PrintLinesKind& kind) {
    PrintLinesT& lines = state.*kind.lines;
    PrintLineTableT& records = state.*kind.records;
    const std::size_t width = Width(state);
    for (int i = 0; i < kPrintLineCount; ++i) {
        std::string& stored = lines[i];
        if (TrimBlanks(stored).size() <= 2) {
            continue;
        }
        stored = ConvertStoredLine(stored, !state.CyrillicMode);
        records[i].text = TrimBlanks(stored.substr(0, width));
        records[i].bold = StoredMark(stored, kBoldMark);
        records[i].centre = StoredMark(stored, kCentreMark);
    }
    for (int i = 0; i < kPrintLineCount; ++i) {
        if (records[i].bold) {
            std::string marked;
            for (char c : records[i].text) {
                marked += kEsc;
                marked += c;
            }
            records[i].text = marked;
        }
    }
    for (int i = 0; i < kPrintLineCount; ++i) {
        if (records[i].centre) {
            std::string& text = records[i].text;
            while (text.size() + 2 < width) {
                text = " " + text + " ";
            }
            text = PadRight(text, width);
        }
    }
    for (int i = kPrintLineCount - 1; i >= 1; --i) {
        if (!TrimBlanks(records[i].text).empty()) {
            break;
        }
        records[i].text = std::string(1, '\0');
    }
}

std::string PrintLineFrame(SharedState& state, const PrintLinesKind& kind, int line) {
    PrintLineRecord& record = (state.*kind.records).at(line);
    record.text = ToScriptForm(state, record.text);
    return kind.letter + std::to_string(line) +
           PadRight(ToRegisterCoding(state, record.text), kStoredTextWidth) + '\0';
}

namespace {

bool SendPrintLines(tables::TransferContext& ctx, const PrintLinesKind& kind) {
    try {
        SharedState& state = ctx.state();
        PreparePrintLines(state, kind);
        tables::TransmitTable table;
        table.first = 0;
        table.last = kPrintLineCount - 1;
        table.prepare = [&state, &kind](int line) {
            return std::optional<tables::OutgoingRecord>(tables::OutgoingRecord{
                PrintLineFrame(state, kind, line), kind.refusalName + std::to_string(line + 1) +
                                                       " nije primljen u kasu!" + kLineBreak});
        };
        table.counterOf = [](int line) { return line + 1; };
        return tables::TransmitRecords(ctx, table);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool invia_int(tables::TransferContext& ctx) {
    return SendPrintLines(ctx, kHeaderKind);
}

bool invia_adv(tables::TransferContext& ctx) {
    // The transmit screen's DoChangeLang: its message lines in the script form of CyrillicMode.
    if (ctx.message != nullptr) {
        for (std::string& line : *ctx.message) {
            line = ToScriptForm(ctx.state(), line);
        }
    }
    return SendPrintLines(ctx, kAdvertKind);
}

}  // namespace qov::settings
