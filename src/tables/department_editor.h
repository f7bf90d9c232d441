#pragma once

#include <string>
#include <vector>

#include "link/station.h"

namespace qov::tables {

// The logic of the departments editor frmreparti ("Odeljenja"): the list of the ten
// departments, the edit panel (description, maximum price, VAT rate number, auto close),
// the "Check1" box and the toolbar keys. Works directly on the shared DepartmentTable.
class DepartmentEditor {
public:
    explicit DepartmentEditor(Station& station) : station_(station) {}

    static constexpr const char* kFormName = "frmreparti";
    static constexpr const char* kCaption = "Odeljenja";

    // Opening: CurrentForm, carica_Reparti, DoChangeLang.
    void open();
    // "esci" or closing the screen.
    void close();

    // Fills every empty description with its default, brings the others into the script
    // form of CyrillicMode (written back) and rebuilds the list.
    void carica_Reparti();
    // The list and fields in the script form of CyrillicMode, with its font.
    void DoChangeLang();

    // The list: one line per department ("3 - name"); the selected line or -1.
    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }

    // A click, double click or right click on line `row`: selects it and shows the
    // department in the edit panel (visualizza).
    void selectLine(int row);
    // Esc in the list: hides the panel and clears the fields.
    void escapeInList();

    // The edit panel.
    bool panelVisible() const { return panelVisible_; }
    std::string description;  // "Naziv odeljenja"
    std::string maxPrice;     // "Max Cena"
    std::string vatRate;      // "Poreska stopa"
    bool autoClose = false;   // "Auto Close"

    // The "Check1" box.
    bool check1() const { return check1_; }
    void setCheck1(bool checked);

    // Fonts of the list and fields.
    const std::string& fontName() const { return fontName_; }

    // Toolbar keys "aggiorna", "nuovo", "elimina", "svuota", "inserisci", "esci".
    // Returns true when the screen closes.
    bool onToolbar(const std::string& key);

    void aggiorna();
    void nuovo();
    void inserisciKey();
    void elimina();
    void svuota();
    // Enter in the description field.
    void descriptionEnter();
    // Leaving the VAT rate field.
    void vatRateLeft();

    // The common check before "aggiorna" and "inserisci".
    bool controlla();
    // Stores the fields into the selected department and reloads the list.
    void inserisci();
    // Appends a department after the last list line.
    void insert_reparti();
    // Clears the fields.
    void svuota_mask();
    // A program file was opened: the list from the tables again.
    void reload();

private:
    void storeFields(int number);
    std::string listLine(int number) const;

    Station& station_;
    std::vector<std::string> lines_;
    int selected_ = -1;
    bool panelVisible_ = false;
    bool check1_ = false;
    std::string fontName_;
};

}  // namespace qov::tables
