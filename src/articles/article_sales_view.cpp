#include "articles/article_sales_view.h"

#include <algorithm>

#include "app/vb_convert.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::articles {

namespace {

// The copy of the received articles into QOV_PLU: the columns the editor keeps.
std::string CopyStatement(const std::string& from) {
    std::string select = "SELECT ";
    const char* columns[] = {"DESCRIPTION", "PRICE",    "VAT_CODE", "ONE_ITEM", "DEPARTMENT",
                             "MES_TYPE",    "ART_TYPE", "BAR_CODE", "INVENTARY"};
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        select += (i == 0 ? "" : ", ") + from + "." + columns[i];
    }
    return "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE, ONE_ITEM, DEPARTMENT, MES_TYPE, "
           "ART_TYPE, BAR_CODE,INVENTARY )" +
           select + " FROM " + from + ";";
}

}  // namespace

std::string ArticleSalesView::formName() const {
    return kind_ == Kind::Sold ? "frmPluSalesSold" : "frmPluSales";
}

std::string ArticleSalesView::caption() const {
    return kind_ == Kind::Sold ? "Prodati artikli" : "Primljeni artikli";
}

std::string ArticleSalesView::table() const {
    return kind_ == Kind::Sold ? kReceivedSoldTable : kReceivedTable;
}

std::string ArticleSalesView::sender(const char* operation) const {
    return formName() + operation;
}

bool ArticleSalesView::open() {
    SharedState& state = station_.state;
    state.CurrentForm = formName();
    fieldFont_ = state.tableCyrillic(CyrTable::Articles) ? kCyrillicFont : kLatinListFont;
    choices_ = MakeChoiceLists(state);
    return loadColumns();
}

bool ArticleSalesView::loadColumns() {
    ArticleColumns loaded;
    const bool ok = WithDatabase(station_, sender(".Form_Load()"), [&](Database& db) {
        auto rows = db.query(ListStatement(table()));
        while (rows->next()) {
            const ArticleRecord record = ReadArticle(*rows);
            if (IsListedCode(record.code)) {
                AddSalesLines(loaded, record);
            }
        }
    });
    if (ok) {
        columns_ = std::move(loaded);
        selected_ = -1;
    }
    return ok;
}

bool ArticleSalesView::onToolbar(const std::string& key) {
    if (key == "elimina") {
        copyIntoArticles();
    } else if (key == "findArt") {
        find();
    } else if (key == "esci") {
        station_.state.CurrentForm = " ";
        return true;
    }
    return false;
}

void ArticleSalesView::rowClicked(int row) {
    if (row >= 0 && row < static_cast<int>(columns_.size())) {
        selected_ = row;
    }
}

void ArticleSalesView::rowDoubleClicked(int row) {
    if (row >= 0 && row < static_cast<int>(columns_.size())) {
        selected_ = row;
        loadPanel(row, ".lstplu_DblClick()");
    }
}

bool ArticleSalesView::loadPanel(int row, const char* operation) {
    std::optional<ArticleRecord> record;
    const std::string key = KeyOfLine(columns_.main[static_cast<std::size_t>(row)]);
    const bool ok = WithDatabase(station_, sender(operation), [&](Database& db) {
        auto rows = db.query(SelectOneStatement(table(), key));
        if (rows->next()) {
            record = ReadArticle(*rows);
        }
    });
    if (!record) {
        return ok;
    }
    FillFields(fields, *record, choices_);
    quantity = record->quantity;
    value = record->total;
    return true;
}

void ArticleSalesView::find() {
    Dialogs& dialogs = station_.dialogs;
    const bool sold = kind_ == Kind::Sold;
    if (sold && columns_.size() == 0) {
        dialogs.message("Nema artikala u listi.", kDefaultTitle);
        return;
    }
    if (!CheckCode(dialogs, searchCode)) {
        return;
    }
    const CodeSearch search =
        SearchCode(columns_.main, LeadingNumber(tables::TrimBlanks(searchCode)));
    if (search.found) {
        selected_ = search.row;
        panelVisible_ = true;
        if (loadPanel(search.row, ".FinfArt_Click()") || sold) {
            return;
        }
    } else {
        dialogs.message("Artikal ne postoji.", "Pretrazivanje", Icon::Exclamation);
        if (sold) {
            return;
        }
    }
    if (columns_.size() > 0) {
        selected_ = 0;
        panelVisible_ = true;
        loadPanel(0, ".FinfArt_Click()");
    }
}

void ArticleSalesView::keyTyped() {
    long long counter = 1;
    const bool ok = WithDatabase(station_, sender(".lstplu_KeyPress()"), [&](Database& db) {
        auto rows = db.query(ListStatement(table()));
        while (rows->next()) {
            if (LeadingNumber(tables::TrimBlanks(rows->value("BAR_CODE"))) ==
                static_cast<double>(counter)) {
                ++counter;
            }
        }
    });
    if (!ok) {
        return;
    }
    fields.code = std::to_string(counter);
    fields.description.clear();
    fields.price.clear();
    fields.vat = 2;
    fields.department = 0;
    fields.type = 0;
    fields.singleSale = false;
    fields.stock = "0";
}

void ArticleSalesView::copyIntoArticles() {
    const bool ok = WithDatabase(station_, sender(".PLU_preb_Click()"), [&](Database& db) {
        db.execute("Delete * from QOV_PLU; ");
        db.execute(CopyStatement(table()));
    });
    if (ok) {
        station_.dialogs.message("Preneto ! ", "Arvon Cash Registars", Icon::Information);
    }
}

void ArticleSalesView::changeLanguage() {
    const SharedState& state = station_.state;
    const bool toLatin = !state.CyrillicMode;
    fields.code = ConvertDigraphs(fields.code, toLatin);
    fields.description = ConvertDigraphs(fields.description, toLatin);
    for (std::string& line : columns_.main) {
        line = ConvertDigraphs(line, toLatin);
    }
    fieldFont_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
}

}  // namespace qov::articles
