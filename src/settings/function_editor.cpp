#include "settings/function_editor.h"

#include <optional>

#include "tables/fields.h"

namespace qov::settings {

using tables::IsNumber;
using tables::NumericValue;

void FunctionEditor::open() {
    station_.state.CurrentForm = kCurrentFormName;
    carica_FUNZIONI();
}

std::string FunctionEditor::ListRow(int pos, const std::string& name) {
    return std::to_string(pos) + (pos < 10 ? " -    " : " -   ") + name;
}

void FunctionEditor::carica_FUNZIONI() {
    lines_.clear();
    for (int pos = 0; pos < kFunctionCount; ++pos) {
        lines_.push_back(ListRow(pos, station_.state.FunctionTable[pos].name));
    }
    selected_ = -1;
}

void FunctionEditor::visualizza(int row) {
    if (row < 0 || row >= static_cast<int>(lines_.size())) {
        return;
    }
    selected_ = row;
    panelVisible_ = true;
    const FunctionRecord& record = station_.state.FunctionTable[row];
    txtDesc = record.name;
    valueVisible_ = isDiscount(row);
    if (valueVisible_) {
        txtValue = record.value;
    }
}

bool FunctionEditor::controlla() {
    std::optional<std::string> failure;
    const int pos = selected_;
    if (pos == 3 || pos == 6) {
        failure = "Naziv se ne moze menjati";
    }
    if (pos == 4) {
        if (!IsNumber(txtValue)) {
            failure = "Nedozvoljen procentualni popust";
        } else if (NumericValue(txtValue) > 99) {
            failure = "Nedozvoljen maksimalni procentualni popust";
        }
    }
    if (pos == 5) {
        if (!IsNumber(txtValue)) {
            failure = "Nedozvoljen vrednosni popust";
        } else if (NumericValue(txtValue) > 999999) {
            failure = "Nedozvoljen maksimalni vrednosni popust";
        }
    }
    station_.dialogs.message(failure.value_or("Azuriranje izvrseno"), kTitle);
    return !failure;
}

void FunctionEditor::aggiorna() {
    if (!controlla()) {
        return;
    }
    if (selected_ >= 0) {
        FunctionRecord& record = station_.state.FunctionTable[selected_];
        record.name = txtDesc;
        if (isDiscount(selected_)) {
            record.value = txtValue;
        }
    }
    panelVisible_ = false;
    carica_FUNZIONI();
}

void FunctionEditor::nuovo() {
    panelVisible_ = true;
    svuota_mask();
}

void FunctionEditor::svuota_mask() {
    txtDesc.clear();
    txtValue.clear();
}

void FunctionEditor::elimina_funzioni() {
    if (station_.dialogs.message("Dali ste sigurni?", kTitle, Icon::Exclamation, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    if (!controlla()) {
        return;
    }
    if (selected_ >= 0) {
        station_.state.FunctionTable[selected_].name.clear();
    }
    panelVisible_ = false;
    svuota_mask();
    carica_FUNZIONI();
}

void FunctionEditor::svuota_funzioni() {
    if (station_.dialogs.message("Da li ste sigurni?", kTitle, Icon::Exclamation, Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }
    for (FunctionRecord& record : station_.state.FunctionTable) {
        record.name.clear();
    }
    lines_.clear();
    selected_ = -1;
    panelVisible_ = false;
    svuota_mask();
}

void FunctionEditor::insert_funzioni() {
    if (!controlla()) {
        return;
    }
    const int pos = static_cast<int>(lines_.size());
    if (pos >= kFunctionCount) {
        station_.dialogs.message("Maksimalni broj", kTitle, Icon::Exclamation);
        return;
    }
    FunctionRecord& record = station_.state.FunctionTable[pos];
    record.name = txtDesc;
    if (isDiscount(pos)) {
        record.value = txtValue;
    }
    lines_.push_back(ListRow(pos, record.name));
    panelVisible_ = false;
}

bool FunctionEditor::onToolbar(const std::string& key) {
    if (key == "aggiorna") {
        aggiorna();
    } else if (key == "nuovo") {
        nuovo();
    } else if (key == "elimina") {
        elimina_funzioni();
    } else if (key == "svuota") {
        svuota_funzioni();
    } else if (key == "inserisci") {
        insert_funzioni();
    } else if (key == "esci") {
        station_.state.CurrentForm = " ";
        return true;
    }
    return false;
}

}  // namespace qov::settings
