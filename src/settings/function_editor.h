#pragma once

#include <string>
#include <vector>

#include "link/station.h"

namespace qov::settings {

inline constexpr int kFunctionCount = 11;  // positions 0-10

// The logic of the function-limits screen frmfunzioni ("Funkcije", heading "Set Funkcija"):
// the list of the eleven functions, the edit panel (name; limit of the two discounts) and the
// toolbar keys. Works directly on the shared FunctionTable, which stays in memory only.
class FunctionEditor {
public:
    explicit FunctionEditor(Station& station) : station_(station) {}

    static constexpr const char* kFormName = "frmfunzioni";
    // What the screen writes into CurrentForm as it opens (not its own name).
    static constexpr const char* kCurrentFormName = "frmfunzione";
    static constexpr const char* kCaption = "Funkcije";
    static constexpr const char* kHeading = "Set Funkcija";

    // Opening: CurrentForm, carica_FUNZIONI.
    void open();
    // Fills the list from positions 0 to 10.
    void carica_FUNZIONI();

    // The list row of position `pos`: the number, " -    " (" -   " from 10), the name.
    static std::string ListRow(int pos, const std::string& name);
    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }

    // A double click on row `row`: the entry in the edit panel; its value only for the two
    // discounts (positions 4 and 5).
    void visualizza(int row);

    bool panelVisible() const { return panelVisible_; }
    bool valueVisible() const { return valueVisible_; }
    std::string txtDesc;   // "Naziv"
    std::string txtValue;  // "Iznos"

    // The check before "aggiorna", "elimina" and "inserisci": always ends in a box, the last
    // failure's message or "Azuriranje izvrseno". True when it passed.
    bool controlla();

    // Toolbar keys "aggiorna", "nuovo", "elimina", "svuota", "inserisci", "esci".
    // Returns true when the screen closes.
    bool onToolbar(const std::string& key);

    void aggiorna();
    void nuovo();
    void elimina_funzioni();
    void svuota_funzioni();
    void insert_funzioni();
    void svuota_mask();

private:
    bool isDiscount(int pos) const { return pos == 4 || pos == 5; }

    Station& station_;
    std::vector<std::string> lines_;
    int selected_ = -1;
    bool panelVisible_ = false;
    bool valueVisible_ = false;
};

}  // namespace qov::settings
