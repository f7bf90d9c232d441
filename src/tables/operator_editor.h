#pragma once

#include <string>
#include <vector>

#include "link/station.h"

namespace qov::tables {

inline constexpr int kOperatorCount = 31;
inline constexpr std::size_t kOperatorCodeWidth = 5;
inline constexpr std::size_t kOperatorNameWidth = 12;

// The logic of the cashiers editor frmoperatori ("Kasiri"): the list of the cashiers, the edit
// panel (access code, name), the "Cirilica" box and the toolbar keys. Works directly on the
// shared OperatorTable. List line i stands for position i + 1.
class OperatorEditor {
public:
    explicit OperatorEditor(Station& station) : station_(station) {}

    static constexpr const char* kFormName = "frmoperatori";
    static constexpr const char* kCaption = "Kasiri";

    // Opening: carica_op, CurrentForm, DoChangeLang.
    void open();
    // "Esci" or closing the screen.
    void close();

    // Every position 1-31 gets its default code and name; the list is emptied.
    void svuota_op();
    // Keeps the cashiers whose code is not blank (trimmed), resets the rest to the defaults
    // and lists every cashier.
    void carica_op();
    // The list and the name field in the script form of CyrillicMode, with its font.
    void DoChangeLang();
    // A program file was opened: the list from the table again.
    void reload();

    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }
    // A click on line `row`: selects it and shows its cashier in the panel.
    void selectLine(int row);

    bool panelVisible() const { return panelVisible_; }
    std::string code;  // "Pristupna sifra kasira"
    std::string name;  // "Ime kasira"

    // The "Cirilica" box.
    bool check1() const { return check1_; }
    void setCheck1(bool checked);
    const std::string& fontName() const { return fontName_; }

    // Toolbar keys "aggiorna", "nuovo", "elimina", "inserisci", "Esci". Returns true when the
    // screen closes.
    bool onToolbar(const std::string& key);
    void aggiorna();
    void nuovo();
    void inserisci();
    void elimina();
    // Enter in the name field.
    void nameEnter();

    // The code field: a whole number 0 to 99999.
    bool controlla();
    void svuota_mask();

    // One list line: "Op.", the position, the code and the name with their blanks.
    static std::string ListLine(int position, const std::string& code, const std::string& name);

private:
    Station& station_;
    std::vector<std::string> lines_;
    int selected_ = -1;
    bool panelVisible_ = false;
    bool check1_ = false;
    std::string fontName_;
};

}  // namespace qov::tables
