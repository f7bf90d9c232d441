#include "tables/operator_editor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "tables/cyrillic_switch.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

namespace {

constexpr const char* kCodeRefused = "Kod je broj maksimalno do 99999.";
constexpr const char* kCyrillicFont = "Helvetica Ciril";

bool IsDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void OperatorEditor::open() {
    carica_op();
    station_.state.CurrentForm = kFormName;
    DoChangeLang();
}

void OperatorEditor::close() {
    station_.state.CurrentForm = " ";
}

void OperatorEditor::svuota_op() {
    for (int position = 1; position <= kOperatorCount; ++position) {
        OperatorRecord& record = station_.state.OperatorTable[position];
        record.code = std::to_string(position);
        record.name = "Kasir " + std::to_string(position);
    }
    lines_.clear();
    selected_ = -1;
}

void OperatorEditor::carica_op() {
    OperatorTableT& table = station_.state.OperatorTable;
    std::array<std::optional<std::pair<std::string, std::string>>, kOperatorCount + 1> kept;
    for (int position = 1; position <= kOperatorCount; ++position) {
        std::string trimmedCode = TrimBlanks(table[position].code);
        if (!trimmedCode.empty()) {
            kept[position].emplace(std::move(trimmedCode), TrimBlanks(table[position].name));
        }
    }
    svuota_op();
    for (int position = 1; position <= kOperatorCount; ++position) {
        if (kept[position]) {
            table[position].code = kept[position]->first;
            table[position].name = kept[position]->second;
        }
        if (!TrimBlanks(table[position].code).empty()) {
            lines_.push_back(ListLine(position, table[position].code, table[position].name));
        }
    }
}

std::string OperatorEditor::ListLine(int position, const std::string& code,
                                     const std::string& name) {
    // From position 10 the wider number takes one blank, so the codes line up.
    return "Op." + std::to_string(position) + (position >= 10 ? "   " : "    ") + code + "    " +
           name;
}

void OperatorEditor::DoChangeLang() {
    const SharedState& state = station_.state;
    fontName_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    for (std::string& line : lines_) {
        line = ConvertDigraphs(line, !state.CyrillicMode);
    }
    name = ConvertDigraphs(name, !state.CyrillicMode);
}

void OperatorEditor::reload() {
    carica_op();
    DoChangeLang();
}

void OperatorEditor::selectLine(int row) {
    if (row < 0 || row >= static_cast<int>(lines_.size()) || row + 1 > kOperatorCount + 1) {
        return;
    }
    selected_ = row;
    const OperatorRecord& record = station_.state.OperatorTable[row + 1];
    code = record.code;
    name = record.name;
    panelVisible_ = true;
}

void OperatorEditor::svuota_mask() {
    code.clear();
    name.clear();
}

bool OperatorEditor::controlla() {
    const std::string trimmed = TrimBlanks(code);
    if (IsDigits(trimmed) && NumericValue(trimmed) <= 99999) {
        return true;
    }
    station_.dialogs.message(kCodeRefused, kTitle, Icon::Information);
    return false;
}

void OperatorEditor::aggiorna() {
    if (!panelVisible_) {
        return;
    }
    // A refused code keeps the panel open with what was typed, to be corrected.
    if (!controlla()) {
        return;
    }
    // aggiorna_op
    if (selected_ >= 0 && selected_ < kOperatorCount + 1) {
        OperatorRecord& record = station_.state.OperatorTable[selected_ + 1];
        record.code = PadLeft(code, kOperatorCodeWidth);
        record.name = name;
    }
    lines_.clear();
    carica_op();
    panelVisible_ = false;
}

void OperatorEditor::nuovo() {
    if (lines_.size() >= static_cast<std::size_t>(kOperatorCount)) {
        return;
    }
    lines_.emplace_back();
    svuota_mask();
    const std::size_t position = lines_.size();
    const std::string stored = TrimBlanks(station_.state.OperatorTable[position].code);
    if (stored.empty()) {
        code = "00007";
    } else {
        const double next = std::clamp(NumericValue(stored), -1e9, 1e9) + 1;
        code = NumberText(std::floor(next));
    }
    code = PadLeft(code, kOperatorCodeWidth, '0');
    panelVisible_ = true;
}

void OperatorEditor::inserisci() {
    if (!controlla()) {
        return;
    }
    lines_.emplace_back();
    selected_ = static_cast<int>(lines_.size()) - 1;
    const int position = selected_ + 1;
    if (!code.empty() && !name.empty()) {
        // insert_op
        if (position > kOperatorCount) {
            station_.dialogs.message("Maksimalni broj", kTitle);
        } else {
            OperatorRecord& record = station_.state.OperatorTable[position];
            record.code = code;
            record.name = name;
            lines_.back() = ListLine(position, code, name);
            svuota_mask();
        }
    }
    panelVisible_ = false;
}

void OperatorEditor::elimina() {
    if (station_.dialogs.message("Da li ste sigurni?", kTitle, Icon::Exclamation, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    if (!controlla()) {
        return;
    }
    // elimina_op: the line leaves the list; the reload lists the cashier again.
    if (selected_ >= 0 && selected_ < static_cast<int>(lines_.size())) {
        lines_.erase(lines_.begin() + selected_);
    }
    svuota_mask();
    carica_op();
}

void OperatorEditor::nameEnter() {
    if (station_.dialogs.message("Da li zelite da azurirate vrednost?", "Azuriranje vrednosti",
                                 Icon::None, Buttons::YesNo) == Answer::Yes) {
        aggiorna();
    }
}

void OperatorEditor::setCheck1(bool checked) {
    check1_ = checked;
    fontName_ = kCyrillicFont;
    SwitchToCyrillic(station_.state, CyrTable::Operators, station_.state.OperatorTable,
                     &OperatorRecord::name, 1, kOperatorCount);
}

bool OperatorEditor::onToolbar(const std::string& key) {
    if (key == "aggiorna") {
        aggiorna();
    } else if (key == "nuovo") {
        nuovo();
    } else if (key == "elimina") {
        elimina();
    } else if (key == "inserisci") {
        inserisci();
    } else if (key == "Esci") {
        close();
        return true;
    }
    return false;
}

}  // namespace qov::tables
