#pragma once

#include <string>

#include "articles/article_editor.h"
#include "articles/article_store.h"
#include "link/station.h"

namespace qov::articles {

// The logic of the two read-only sales views: frmPluSales ("Primljeni artikli") over
// QOV_PLU_RCV and frmPluSalesSold ("Prodati artikli") over QOV_PLU_RCV_SOLD. Five aligned
// columns, a detail panel, the search, the first free code and the copy into QOV_PLU.
class ArticleSalesView {
public:
    enum class Kind { Received, Sold };

    ArticleSalesView(Station& station, Kind kind) : station_(station), kind_(kind) {}

    std::string formName() const;  // "frmPluSales" / "frmPluSalesSold"
    std::string caption() const;   // "Primljeni artikli" / "Prodati artikli"
    std::string table() const;     // "QOV_PLU_RCV" / "QOV_PLU_RCV_SOLD"
    Kind kind() const { return kind_; }

    // Opening: CurrentForm, fonts, choice lists, the columns. False when the columns could not
    // be read (reported).
    bool open();
    // Toolbar keys "elimina" (the copy), "findArt", "esci"; true when the screen closes.
    bool onToolbar(const std::string& key);

    // "Pronadji": finds the code typed into `searchCode`.
    void find();
    // "Prebaci u PLU": replaces QOV_PLU with the received articles.
    void copyIntoArticles();

    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // Any key typed in the list or the panel: the panel proposes the first free code.
    void keyTyped();

    // The main window's "Cirilica" switch: code, name and the main column converted.
    void changeLanguage();

    // What the screen shows.
    ArticleFields fields;
    std::string quantity;                     // "qty"
    std::string value;                        // "value"
    std::string searchCode = "000000000000";  // "Fart"
    const ArticleColumns& columns() const { return columns_; }
    int selectedRow() const { return selected_; }
    bool panelVisible() const { return panelVisible_; }
    const ArticleChoiceLists& choices() const { return choices_; }
    const std::string& fieldFont() const { return fieldFont_; }

private:
    bool loadColumns();
    bool loadPanel(int row, const char* operation);
    std::string sender(const char* operation) const;

    Station& station_;
    Kind kind_;
    ArticleColumns columns_;
    ArticleChoiceLists choices_;
    int selected_ = -1;
    bool panelVisible_ = true;
    std::string fieldFont_;
};

}  // namespace qov::articles
