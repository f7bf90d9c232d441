#pragma once

#include <string>
#include <vector>

#include "link/station.h"

namespace qov::tables {

inline constexpr int kCurrencyCount = 4;
inline constexpr std::size_t kCurrencyRateWidth = 9;
inline constexpr std::size_t kCurrencyNameWidth = 12;

// The logic of the currencies editor frmValuta ("Valute"): the list of the four currencies,
// the edit panel (name, rate), the "Cirilica" box and the toolbar keys. Works directly on the
// shared CurrencyTable. List line i stands for currency i + 1.
class CurrencyEditor {
public:
    explicit CurrencyEditor(Station& station) : station_(station) {}

    static constexpr const char* kFormName = "frmValuta";
    static constexpr const char* kCaption = "Valute";

    // Opening: carica_op, CurrentForm, DoChangeLang.
    void open();
    // "Esci" or closing the screen.
    void close();

    // Positions 0-4 back to their defaults; the list is emptied.
    void svuota_op();
    // Trims every rate and name and lists currencies 1 to 4.
    void carica_op();
    // The list and the name field in the script form of CyrillicMode, with its font.
    void DoChangeLang();
    // A program file was opened: the list from the table again.
    void reload();

    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }
    // A click on line `row`: selects it and shows its currency in the panel.
    void selectLine(int row);

    bool panelVisible() const { return panelVisible_; }
    std::string name;  // "Naziv"
    std::string rate;  // "Kurs"

    // The "Cirilica" box.
    bool check1() const { return check1_; }
    void setCheck1(bool checked);
    const std::string& fontName() const { return fontName_; }

    // Toolbar keys "aggiorna", "nuovo", "elimina", "svuota", "inserisci", "Esci". Returns
    // true when the screen closes.
    bool onToolbar(const std::string& key);
    void aggiorna();
    void nuovo();
    void inserisci();
    void elimina();
    void svuota();

    // Name and rate present, the rate a number.
    bool controlla();
    void svuota_mask();

    // The rate as "aggiorna" stores it: nine characters with a decimal separator (the one typed,
    // or a point) and trailing zeros.
    static std::string CompleteRate(const std::string& rate);
    // Whether a rate is a number: digits with at most one decimal point or comma.
    static bool IsRate(const std::string& rate);

private:
    Station& station_;
    std::vector<std::string> lines_;
    int selected_ = -1;
    bool panelVisible_ = false;
    bool check1_ = false;
    std::string fontName_;
};

}  // namespace qov::tables
