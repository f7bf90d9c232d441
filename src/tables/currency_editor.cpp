#include "tables/currency_editor.h"

#include "tables/cyrillic_switch.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

namespace {

constexpr const char* kCyrillicFont = "Helvetica Ciril";

// "1-0.000000    VALUTA 1" after carica_op; "inserisci" puts three blanks.
std::string ListLine(int number, const CurrencyRecord& record, const char* blanks) {
    return std::to_string(number) + "-" + record.rate + blanks + record.name;
}

}  // namespace

void CurrencyEditor::open() {
    carica_op();
    station_.state.CurrentForm = kFormName;
    DoChangeLang();
}

void CurrencyEditor::close() {
    station_.state.CurrentForm = " ";
}

void CurrencyEditor::svuota_op() {
    for (int number = 0; number <= kCurrencyCount; ++number) {
        CurrencyRecord& record = station_.state.CurrencyTable[number];
        record.rate = "0.000000";
        // The number as the numeric-to-text form writes it: one blank before it.
        record.name = FontToRegister("VALUTA " + std::to_string(number));
    }
    lines_.clear();
    selected_ = -1;
}

void CurrencyEditor::carica_op() {
    CurrencyTableT& table = station_.state.CurrencyTable;
    CurrencyTableT kept = table;
    for (CurrencyRecord& record : kept) {
        record.rate = TrimBlanks(record.rate);
        record.name = TrimBlanks(record.name);
    }
    svuota_op();
    table = kept;
    for (int number = 1; number <= kCurrencyCount; ++number) {
        lines_.push_back(ListLine(number, table[number], "    "));
    }
}

void CurrencyEditor::DoChangeLang() {
    const SharedState& state = station_.state;
    fontName_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    for (std::string& line : lines_) {
        line = ConvertDigraphs(line, !state.CyrillicMode);
    }
    name = ConvertDigraphs(name, !state.CyrillicMode);
}

void CurrencyEditor::reload() {
    carica_op();
    DoChangeLang();
}

void CurrencyEditor::selectLine(int row) {
    if (row < 0 || row >= static_cast<int>(lines_.size()) || row >= kCurrencyCount) {
        return;
    }
    selected_ = row;
    const CurrencyRecord& record = station_.state.CurrencyTable[row + 1];
    name = record.name;
    rate = record.rate;
    panelVisible_ = true;
}

void CurrencyEditor::svuota_mask() {
    name.clear();
    rate.clear();
}

bool CurrencyEditor::IsRate(const std::string& text) {
    int digits = 0;
    int separators = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' || c == ',') {
            ++separators;
        } else {
            return false;
        }
    }
    return digits > 0 && separators <= 1;
}

std::string CurrencyEditor::CompleteRate(const std::string& text) {
    std::string completed = text;
    if (completed.find_first_of(".,") == std::string::npos) {
        if (completed.size() < kCurrencyRateWidth) {
            completed += '.';
        } else {
            completed.back() = '.';
        }
    }
    if (completed.size() < kCurrencyRateWidth) {
        completed.append(kCurrencyRateWidth - completed.size(), '0');
    }
    return completed;
}

bool CurrencyEditor::controlla() {
    rate = TrimBlanks(rate);
    std::string message;
    if (TrimBlanks(name).empty()) {
        message = "Unesite naziv !";
    }
    if (rate.empty()) {
        message = "Unesite kurs !";
    }
    if (!message.empty()) {
        station_.dialogs.message(message, kTitle, Icon::Exclamation);
        return false;
    }
    if (!IsRate(rate)) {
        station_.dialogs.message(" Vrednost konverzije nije numericka !", kTitle);
        return false;
    }
    return true;
}

void CurrencyEditor::aggiorna() {
    if (!controlla()) {
        return;
    }
    // aggiorna_op
    rate = CompleteRate(rate);
    if (selected_ >= 0 && selected_ < kCurrencyCount) {
        CurrencyRecord& record = station_.state.CurrencyTable[selected_ + 1];
        record.rate = rate;
        record.name = name;
    }
    lines_.clear();
    carica_op();
    panelVisible_ = false;
    DoChangeLang();
}

void CurrencyEditor::nuovo() {
    if (lines_.size() < static_cast<std::size_t>(kCurrencyCount)) {
        svuota_mask();
        panelVisible_ = true;
    }
}

void CurrencyEditor::inserisci() {
    // Refused fields keep the panel open, as "aggiorna" does.
    if (!controlla()) {
        return;
    }
    // insert_op: the rate as typed, not completed.
    const int number = static_cast<int>(lines_.size()) + 1;
    if (number > kCurrencyCount) {
        station_.dialogs.message("Maksimalni broj", kTitle);
    } else {
        CurrencyRecord& record = station_.state.CurrencyTable[number];
        record.name = name;
        record.rate = rate;
        lines_.push_back(ListLine(number, record, "   "));
    }
    panelVisible_ = false;
}

void CurrencyEditor::elimina() {
    if (selected_ < 0) {
        station_.dialogs.message("Izaberite valutu za brisanje !", kTitle, Icon::Exclamation);
        return;
    }
    if (station_.dialogs.message("Da li ste sigurni?", kTitle, Icon::None, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    // elimina_op
    CurrencyRecord& record = station_.state.CurrencyTable[selected_ + 1];
    record.rate.clear();
    record.name.clear();
    svuota_mask();
    carica_op();
}

void CurrencyEditor::svuota() {
    if (station_.dialogs.message("Da li ste sigurni?", kTitle, Icon::None, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    svuota_op();
    svuota_mask();
}

void CurrencyEditor::setCheck1(bool checked) {
    check1_ = checked;
    fontName_ = kCyrillicFont;
    SwitchToCyrillic(station_.state, CyrTable::Currencies, station_.state.CurrencyTable,
                     &CurrencyRecord::name, 1, kCurrencyCount);
}

bool CurrencyEditor::onToolbar(const std::string& key) {
    if (key == "aggiorna") {
        aggiorna();
    } else if (key == "nuovo") {
        nuovo();
    } else if (key == "elimina") {
        elimina();
    } else if (key == "svuota") {
        svuota();
    } else if (key == "inserisci") {
        inserisci();
    } else if (key == "Esci") {
        close();
        return true;
    }
    return false;
}

}  // namespace qov::tables
