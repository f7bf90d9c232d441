#include "tables/department_editor.h"

#include <cmath>

#include "tables/cyrillic_switch.h"
#include "tables/departments.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The whole part of a number, zero-filled to 8 digits.
std::string WholePriceText(const std::string& text) {
    double value = std::floor(NumericValue(text));
    constexpr double kLimit = 1e17;
    if (value > kLimit) {
        value = kLimit;
    } else if (value < -kLimit) {
        value = -kLimit;
    }
    return ZeroFilled(static_cast<long long>(value), kDepartmentPriceWidth);
}

}  // namespace

void DepartmentEditor::open() {
    station_.state.CurrentForm = kFormName;
    carica_Reparti();
    DoChangeLang();
}

void DepartmentEditor::close() {
    station_.state.CurrentForm = " ";
}

void DepartmentEditor::carica_Reparti() {
    SharedState& state = station_.state;
    lines_.clear();
    for (int number = 1; number <= kDepartmentCount; ++number) {
        std::string& text = state.DepartmentTable[number].description;
        if (text.empty()) {
            // The number as the numeric-to-text form writes it: one blank before it.
            text = std::string(state.CyrillicMode ? "Odeqewe " : "Odeljenje ") + " " +
                   std::to_string(number);
        } else if (state.CyrillicMode) {
            text = StartsWith(text, "Odeljenje") ? ReplaceAll(text, "Odeljenje", "Odeqewe")
                                                 : ConvertDigraphs(text, false);
        } else {
            text = StartsWith(text, "Odeqewe") ? ReplaceAll(text, "Odeqewe", "Odeljenje")
                                               : ConvertDigraphs(text, true);
        }
        lines_.push_back(listLine(number));
    }
    // A rebuilt list has no line selected.
    selected_ = -1;
}

std::string DepartmentEditor::listLine(int number) const {
    return std::to_string(number) + " - " +
           TrimBlanks(station_.state.DepartmentTable[number].description);
}

void DepartmentEditor::DoChangeLang() {
    const SharedState& state = station_.state;
    fontName_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    for (std::string& line : lines_) {
        line = ConvertDigraphs(line, !state.CyrillicMode);
    }
    description = ConvertDigraphs(description, !state.CyrillicMode);
}

void DepartmentEditor::selectLine(int row) {
    if (row < 0 || row >= static_cast<int>(lines_.size())) {
        return;
    }
    selected_ = row;
    const DepartmentRecord& record = station_.state.DepartmentTable[row + 1];
    description = ReplaceAll(record.description, "  ", " ");
    maxPrice = record.maxPrice;
    vatRate = record.vatRate;
    autoClose = record.autoClose == "1";
    panelVisible_ = true;
}

void DepartmentEditor::escapeInList() {
    panelVisible_ = false;
    svuota_mask();
}

void DepartmentEditor::svuota_mask() {
    description.clear();
    maxPrice.clear();
    vatRate = "0";
    autoClose = false;
}

bool DepartmentEditor::controlla() {
    bool ok = true;
    if (IsNumber(maxPrice)) {
        maxPrice = WholePriceText(maxPrice);
    } else if (!maxPrice.empty()) {
        station_.dialogs.message("Vrednosti nisu korektne", kTitle, Icon::Exclamation);
        ok = false;
    }
    if (selected_ >= 0) {
        station_.state.DepartmentTable[selected_ + 1].description = description;
    } else {
        station_.dialogs.message("Niste odabrali odeljenje.", kTitle, Icon::Exclamation);
    }
    return ok;
}

void DepartmentEditor::storeFields(int number) {
    DepartmentRecord& record = station_.state.DepartmentTable[number];
    record.description = PadRight(description, kDepartmentNameWidth);
    record.maxPrice = PadLeft(maxPrice, kDepartmentPriceWidth);
    record.vatRate = vatRate;
    record.autoClose = autoClose ? "1" : "0";
}

void DepartmentEditor::inserisci() {
    if (selected_ >= 0) {
        storeFields(selected_ + 1);
    }
    carica_Reparti();
}

void DepartmentEditor::insert_reparti() {
    int number = static_cast<int>(lines_.size()) + 1;
    if (number > kDepartmentCount) {
        station_.dialogs.message("Maksimalan broj", kTitle, Icon::Exclamation);
        return;
    }
    storeFields(number);
    lines_.push_back(listLine(number));
}

void DepartmentEditor::aggiorna() {
    if (!panelVisible_) {
        return;
    }
    panelVisible_ = false;
    if (controlla()) {
        inserisci();
    }
}

void DepartmentEditor::nuovo() {
    panelVisible_ = true;
    svuota_mask();
}

void DepartmentEditor::inserisciKey() {
    panelVisible_ = false;
    if (controlla()) {
        insert_reparti();
    }
}

void DepartmentEditor::elimina() {
    if (station_.dialogs.message("Dali ste sigurni?", kTitle, Icon::Exclamation, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    panelVisible_ = false;
    if (selected_ >= 0) {
        DepartmentRecord& record = station_.state.DepartmentTable[selected_ + 1];
        record.description.clear();
        record.maxPrice.clear();
        record.vatRate = "0";
        record.autoClose = "0";
    }
    svuota_mask();
    carica_Reparti();
}

void DepartmentEditor::svuota() {
    if (station_.dialogs.message("Da li ste sigurni?", kTitle, Icon::Exclamation, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    panelVisible_ = false;
    for (DepartmentRecord& record : station_.state.DepartmentTable) {
        record.description.clear();
        record.maxPrice.clear();
        record.vatRate = "0";
        record.autoClose = "0";
    }
    lines_.clear();
    selected_ = -1;
    svuota_mask();
}

void DepartmentEditor::descriptionEnter() {
    if (station_.dialogs.message("Da li zelite da azurirate vrednost?", "Azuriranje vrednosti",
                                 Icon::None, Buttons::YesNo) == Answer::Yes) {
        aggiorna();
    }
}

void DepartmentEditor::vatRateLeft() {
    double value = NumericValue(vatRate);
    if (value < 0 || value > 4) {
        station_.dialogs.message("Poreska stopa ne postoji!", kTitle, Icon::Exclamation);
    }
}

void DepartmentEditor::setCheck1(bool checked) {
    check1_ = checked;
    fontName_ = "Helvetica Ciril";
    SwitchToCyrillic(station_.state, CyrTable::Departments, station_.state.DepartmentTable,
                     &DepartmentRecord::description, 1, kDepartmentCount);
}

void DepartmentEditor::reload() {
    carica_Reparti();
    DoChangeLang();
}

bool DepartmentEditor::onToolbar(const std::string& key) {
    if (key == "aggiorna") {
        aggiorna();
    } else if (key == "nuovo") {
        nuovo();
    } else if (key == "elimina") {
        elimina();
    } else if (key == "svuota") {
        svuota();
    } else if (key == "inserisci") {
        inserisciKey();
    } else if (key == "esci") {
        close();
        return true;
    }
    return false;
}

}  // namespace qov::tables
