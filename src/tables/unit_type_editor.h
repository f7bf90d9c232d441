#pragma once

#include <string>
#include <vector>

#include "link/station.h"

namespace qov::tables {

// The logic of the two name editors frmMesUnits ("Jedinice mere", units 1-5) and frmTipArt
// ("Tipovi artikala", article types 1-8): the list of every position, the edit panel (name and
// abbreviation) and the keys "aggiorna" and "esci". Records are never added or deleted. Works
// directly on the shared UnitTable or ArticleTypeTable. List line i stands for position i + 1.
class UnitTypeEditor {
public:
    enum class Kind { Units, Types };

    UnitTypeEditor(Station& station, Kind kind) : station_(station), kind_(kind) {}

    Kind kind() const { return kind_; }
    // "frmunits" or "frmtypes".
    const char* formName() const;
    // "Jedinice mere" or "Tipovi artikala".
    const char* caption() const;
    // 5 units or 8 types.
    int count() const;

    // Opening: CurrentForm, the list, DoChangeLang.
    void open();
    // "esci" or closing the screen.
    void close();

    // carica_units / carica_PLUtype: one line per position ("3   - name"); the type screen
    // first brings register-coded names back to font text while the types' flag is on.
    void carica();
    // The list and the name field in the script form of CyrillicMode, with its font.
    void DoChangeLang();
    // A program file was opened: the list from the table again.
    void reload();

    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }
    // A click on line `row`: selects it and shows its record in the panel (visualizza).
    void selectLine(int row);

    bool panelVisible() const { return panelVisible_; }
    std::string name;          // "Naziv"
    std::string abbreviation;  // "Skracenica"

    const std::string& fontName() const { return fontName_; }

    // Toolbar keys "aggiorna" and "esci". Returns true when the screen closes.
    bool onToolbar(const std::string& key);
    // DoChangeLang, then the panel (when shown) into the selected record (inserisci).
    void aggiorna();

private:
    std::vector<NameRecord*> records();

    Station& station_;
    Kind kind_;
    std::vector<std::string> lines_;
    int selected_ = -1;
    bool panelVisible_ = false;
    std::string fontName_;
};

}  // namespace qov::tables
