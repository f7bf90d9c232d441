#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "articles/article_store.h"
#include "link/station.h"

namespace qov::articles {

// The VAT list of the article screens, positions 0-8.
inline constexpr std::array<const char*, 9> kVatItems{"0 - A", "1 - G", "2 - D", "3 - \\", "4 - E",
                                                      "5 - @", "6 - I", "7 - J", "8 - K"};
// The fixed units at the head of the unit list (positions 0-5); units 1-5 follow.
inline constexpr std::array<const char*, 6> kFixedUnits{"kom", "kg", "m", "l", "g", " "};
inline constexpr int kUnitPieces = 0;  // "kom": the stock is a whole number

inline constexpr const char* kCyrillicFont = "Helvetica Ciril";
inline constexpr const char* kLatinListFont = "Courier New";
inline constexpr double kMaxStock = 999999.999;

// The department (1-10), unit (fixed + 1-5) and article type (1-8) lists of the article screens,
// filled from the register tables.
struct ArticleChoiceLists {
    std::vector<std::string> departments;
    std::vector<std::string> units;
    std::vector<std::string> types;
};
ArticleChoiceLists MakeChoiceLists(const SharedState& state);

// The code checks shared by the editor's validation and every search: empty, not digits,
// longer than 12. Shows the first failing check's box and returns false.
bool CheckCode(Dialogs& dialogs, const std::string& code);

// The outcome of the bounded binary search over a code-ordered list.
struct CodeSearch {
    bool found = false;
    int row = -1;  // the row found
    int steps = 0;
};
// Searches `lines` (each starting with its code) for `wanted`, halving between a low and a
// high bound, at most 1000 steps, never leaving the list.
CodeSearch SearchCode(const std::vector<std::string>& lines, double wanted);

// The panel's fields as text, the way a form holds them.
struct ArticleFields {
    std::string code;         // "Barcode"
    std::string description;  // "txtDesc"
    std::string price;        // "txtprezzo"
    std::string stock;        // "TextLager"
    int vat = 0;              // "vatCom"
    int department = 0;       // "cmbreparto"
    int unit = 0;             // "Mestype"
    int type = 0;             // "Artype"
    bool singleSale = false;  // "chkblocco"
};

// Loads a row into the fields: texts as stored, list positions kept inside their lists.
void FillFields(ArticleFields& fields, const ArticleRecord& record,
                const ArticleChoiceLists& choices);

// The text of the price field after leaving it: the number read from it with two decimals.
std::string PriceLeftText(const std::string& text);
// The text of the stock field after leaving it (or the unit list): three decimals, and a
// whole number while the unit is "kom".
std::string StockLeftText(const std::string& text, int unit);

// The validation of the article editor. Shows each failing check's box on `dialogs`, rewrites
// the price and stock fields on success, and returns whether the fields can be stored.
// `duplicate` answers whether a padded code is taken (insert only; nothing = the check
// failed and was reported); `nameLimit` is the name field's length (18 or 28).
struct CheckOptions {
    bool forInsert = false;
    double maxPrice = 0;
};
bool ValidateArticle(Dialogs& dialogs, ArticleFields& fields, const CheckOptions& options,
                     const std::function<std::optional<bool>(const std::string&)>& duplicate);

// The values that a validated panel stores.
ArticleValues ValuesOf(const ArticleFields& fields);

// The logic of the article editor frmPlu ("Artikli"): the three aligned list columns of
// QOV_PLU, the detail panel with its nine fields, the modes and the toolbar keys.
class ArticleEditor {
public:
    explicit ArticleEditor(Station& station) : station_(station), store_(station) {}

    static constexpr const char* kFormName = "frmPlu";
    static constexpr const char* kCaption = "Artikli";

    enum class Mode { Browsing, New, Editing, Viewing };

    // Opening: the lists, CurrentForm, field limits, fonts, choice lists, DoChangeLang.
    void open();

    // Toolbar keys "aggiorna", "nuovo", "elimina", "inserisci", "esci", "findArt".
    // Returns true when the screen closes.
    bool onToolbar(const std::string& key);
    void nuovo();
    void inserisci();
    void aggiorna();
    void elimina();
    void findArt();
    void esci();

    // Row events of the list (rows count from 0).
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // A key typed while the list or the panel has focus; Esc also hides the panel.
    void keyTyped(bool escape);
    // "Izlaz" in the panel.
    void exitPanel();

    // Leaving the price field, the stock field or the unit list.
    void priceLeft();
    void stockLeft();

    // The "Cirilica" box.
    void setCheck1(bool checked);
    bool check1() const { return check1_; }

    // Re-fonts and converts the shown texts (toLatin = not CyrillicMode).
    void DoChangeLang(bool toLatin);
    // The main window's "Cirilica" switch.
    void changeLanguage() { DoChangeLang(!station_.state.CyrillicMode); }

    // Clears the panel's fields.
    void svuota_mask();
    // The validation of the panel; see ValidateArticle.
    bool controlla(bool forInsert);

    // What the screen shows.
    ArticleFields fields;
    std::string searchCode = "000000000000";  // "Fart"
    const ArticleColumns& columns() const { return columns_; }
    int selectedRow() const { return selected_; }
    bool panelVisible() const { return panelVisible_; }
    bool codeEnabled() const { return codeEnabled_; }
    bool fieldsEnabled() const { return fieldsEnabled_; }  // the eight other fields
    bool newMode() const { return newMode_; }
    bool editMode() const { return editMode_; }
    Mode mode() const;
    const ArticleChoiceLists& choices() const { return choices_; }
    int nameMaxLength() const { return nameMaxLength_; }
    int priceMaxLength() const { return priceMaxLength_; }
    // The font of the code, name and stock fields, the three choice lists and the main list;
    // the font of the VAT list.
    const std::string& fieldFont() const { return fieldFont_; }
    const std::string& vatFont() const { return vatFont_; }
    // Counts requests to put the cursor into the code field.
    int codeFocusRequests() const { return codeFocusRequests_; }

private:
    void carica_PLU();
    bool load(const std::string& key);  // PctOsv into the fields, panel shown
    void viewRow(int row);              // search result: load and make read-only
    void setFields(bool codeEnabled, bool othersEnabled);

    Station& station_;
    ArticleStore store_;
    ArticleColumns columns_;
    ArticleChoiceLists choices_;
    int selected_ = -1;
    bool panelVisible_ = false;
    bool codeEnabled_ = true;
    bool fieldsEnabled_ = true;
    bool newMode_ = false;
    bool editMode_ = false;
    bool check1_ = false;
    int nameMaxLength_ = 28;
    int priceMaxLength_ = 0;
    std::string fieldFont_;
    std::string vatFont_;
    int codeFocusRequests_ = 0;
};

}  // namespace qov::articles
