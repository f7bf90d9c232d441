#include "tables/unit_type_editor.h"

#include "text/transcode.h"

namespace qov::tables {

const char* UnitTypeEditor::formName() const {
    return kind_ == Kind::Units ? "frmunits" : "frmtypes";
}

const char* UnitTypeEditor::caption() const {
    return kind_ == Kind::Units ? "Jedinice mere" : "Tipovi artikala";
}

int UnitTypeEditor::count() const {
    return kind_ == Kind::Units ? 5 : 8;
}

std::vector<NameRecord*> UnitTypeEditor::records() {
    SharedState& state = station_.state;
    std::vector<NameRecord*> all;
    for (int position = 1; position <= count(); ++position) {
        all.push_back(kind_ == Kind::Units ? &state.UnitTable[position]
                                           : &state.ArticleTypeTable[position]);
    }
    return all;
}

void UnitTypeEditor::open() {
    station_.state.CurrentForm = formName();
    carica();
    DoChangeLang();
}

void UnitTypeEditor::close() {
    station_.state.CurrentForm = " ";
}

void UnitTypeEditor::carica() {
    const bool toFont =
        kind_ == Kind::Types && station_.state.tableCyrillic(CyrTable::ArticleTypes);
    lines_.clear();
    int position = 0;
    for (NameRecord* record : records()) {
        if (toFont) {
            record->name = RegisterToFont(record->name);
        }
        lines_.push_back(std::to_string(++position) + "   - " + record->name);
    }
    selected_ = -1;
}

void UnitTypeEditor::DoChangeLang() {
    const SharedState& state = station_.state;
    fontName_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    for (std::string& line : lines_) {
        line = ConvertDigraphs(line, !state.CyrillicMode);
    }
    name = ConvertDigraphs(name, !state.CyrillicMode);
}

void UnitTypeEditor::reload() {
    carica();
    DoChangeLang();
}

void UnitTypeEditor::selectLine(int row) {
    if (row < 0 || row >= static_cast<int>(lines_.size()) || row >= count()) {
        return;
    }
    selected_ = row;
    const NameRecord& record = *records()[static_cast<std::size_t>(row)];
    name = record.name;
    abbreviation = record.abbreviation;
    panelVisible_ = true;
}

void UnitTypeEditor::aggiorna() {
    DoChangeLang();
    if (!panelVisible_) {
        return;
    }
    if (selected_ >= 0 && selected_ < count()) {
        NameRecord& record = *records()[static_cast<std::size_t>(selected_)];
        record.name = name;
        record.abbreviation = abbreviation;
    }
    carica();
    panelVisible_ = false;
}

bool UnitTypeEditor::onToolbar(const std::string& key) {
    if (key == "aggiorna") {
        aggiorna();
    } else if (key == "esci") {
        close();
        return true;
    }
    return false;
}

}  // namespace qov::tables
