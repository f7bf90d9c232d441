#pragma once

#include <QFont>

#include <functional>
#include <string>

#include "articles/article_editor.h"
#include "widgets/text_columns_model.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QTableView;
class QWidget;

namespace qov::articles {

// The tooltips of the panel's text fields, which differ a little between the screens.
struct ArticleFieldTips {
    const char* code = "Sifra ili barkod artikla";
    const char* name = "Naziv artikla";
    const char* price = "Cena artikla";
    const char* stock = "Stanje lagera artikla";
};

// The detail panel ("Picture1") of the article screens: code, name, price, department, VAT,
// unit, article type, single sale and stock, laid out as a form.
struct ArticlePanel {
    QGroupBox* box = nullptr;
    QFormLayout* form = nullptr;
    QLineEdit* code = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* price = nullptr;
    QComboBox* department = nullptr;
    QComboBox* vat = nullptr;
    QComboBox* unit = nullptr;
    QComboBox* type = nullptr;
    QCheckBox* singleSale = nullptr;
    QLineEdit* stock = nullptr;

    void fillChoices(const ArticleChoiceLists& choices);
    void show(const ArticleFields& fields);
    void take(ArticleFields& fields) const;
    // Code, name, stock, department, unit and type lists in `fieldFont`; VAT in `vatFont`.
    void setFonts(const std::string& fieldFont, const std::string& vatFont);
    void setEnabled(bool codeEnabled, bool othersEnabled);
};
ArticlePanel MakeArticlePanel(QWidget* parent, const ArticleFieldTips& tips);

// The aligned list columns as one table: whole rows selected, uniform row heights (so that
// tens of thousands of rows scroll at once), no grid, headings on top.
QTableView* MakeColumnsView(QWidget* parent, TextColumnsModel* model);

// Sizes the columns: the number columns for their largest values, the code and name column
// the rest (the view at least wide enough for `characters` of the list font).
void FitColumns(QTableView* view, const QFont& listFont, int characters);

// The code to search for ("Fart", "Sifra:" before it) added to `row`; Enter runs `find`.
QLineEdit* AddSearchField(QWidget* parent, QHBoxLayout* row, std::function<void()> find);

// The aligned list of an article screen: the view over its columns model, shown again from the
// screen's logic (the rows when they changed, the list font, the selected row).
struct ArticleList {
    TextColumnsModel* model = nullptr;
    QTableView* view = nullptr;
    int characters = 0;  // the width of a code-and-name line
    QFont fittedFont;

    void show(bool rowsChanged, const std::string& fontFamily, int selectedRow);
};

// Selects `row` of the view and scrolls it into sight (or clears the selection for -1).
void ShowSelectedRow(QTableView* view, int row);

}  // namespace qov::articles
