#include "articles/article_parts_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include "widgets/widget_text.h"

namespace qov::articles {

namespace {

void Fill(QComboBox* combo, const std::vector<std::string>& items) {
    const QSignalBlocker block(combo);
    const int current = combo->currentIndex();
    combo->clear();
    for (const std::string& item : items) {
        combo->addItem(ToScreen(item));
    }
    combo->setCurrentIndex(std::min(std::max(current, 0), combo->count() - 1));
}

void Select(QComboBox* combo, int position) {
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

}  // namespace

ArticlePanel MakeArticlePanel(QWidget* parent, const ArticleFieldTips& tips) {
    ArticlePanel p;
    p.box = new QGroupBox("Artikal", parent);
    p.box->setObjectName("Picture1");
    p.box->setFocusPolicy(Qt::ClickFocus);
    p.form = new QFormLayout(p.box);
    auto edit = [&](const char* name, const char* tip) {
        auto* e = new QLineEdit(p.box);
        e->setObjectName(name);
        e->setToolTip(tip);
        return e;
    };
    auto combo = [&](const char* name) {
        auto* c = new QComboBox(p.box);
        c->setObjectName(name);
        return c;
    };
    p.code = edit("Barcode", tips.code);
    p.name = edit("txtDesc", tips.name);
    p.price = edit("txtprezzo", tips.price);
    p.department = combo("cmbreparto");
    p.vat = combo("vatCom");
    p.unit = combo("Mestype");
    p.type = combo("Artype");
    p.singleSale = new QCheckBox("Pojedinacna prodaja", p.box);
    p.singleSale->setObjectName("chkblocco");
    p.stock = edit("TextLager", tips.stock);
    for (const char* item : kVatItems) {
        p.vat->addItem(QString::fromLatin1(item));
    }
    p.form->addRow("BARKOD", p.code);
    p.form->addRow("Naziv", p.name);
    p.form->addRow("Cena", p.price);
    p.form->addRow("Odeljenje", p.department);
    p.form->addRow("Poreska stopa", p.vat);
    p.form->addRow("Jedinica mere", p.unit);
    p.form->addRow("Tip artikla", p.type);
    p.form->addRow("", p.singleSale);
    p.form->addRow("Lager", p.stock);
    return p;
}

void ArticlePanel::fillChoices(const ArticleChoiceLists& choices) {
    Fill(department, choices.departments);
    Fill(unit, choices.units);
    Fill(type, choices.types);
}

void ArticlePanel::show(const ArticleFields& f) {
    code->setText(ToScreen(f.code));
    name->setText(ToScreen(f.description));
    price->setText(ToScreen(f.price));
    stock->setText(ToScreen(f.stock));
    Select(vat, f.vat);
    Select(department, f.department);
    Select(unit, f.unit);
    Select(type, f.type);
    singleSale->setChecked(f.singleSale);
}

void ArticlePanel::take(ArticleFields& f) const {
    f.code = FromScreen(code->text());
    f.description = FromScreen(name->text());
    f.price = FromScreen(price->text());
    f.stock = FromScreen(stock->text());
    f.vat = std::max(vat->currentIndex(), 0);
    f.department = std::max(department->currentIndex(), 0);
    f.unit = std::max(unit->currentIndex(), 0);
    f.type = std::max(type->currentIndex(), 0);
    f.singleSale = singleSale->isChecked();
}

void ArticlePanel::setFonts(const std::string& fieldFont, const std::string& vatFont) {
    for (QWidget* w : std::initializer_list<QWidget*>{code, name, stock, department, unit, type}) {
        SetFontFamily(w, fieldFont);
    }
    SetFontFamily(vat, vatFont);
}

void ArticlePanel::setEnabled(bool codeEnabled, bool othersEnabled) {
    code->setEnabled(codeEnabled);
    for (QWidget* w : std::initializer_list<QWidget*>{name, price, department, vat, unit, type,
                                                      singleSale, stock}) {
        w->setEnabled(othersEnabled);
    }
}

QTableView* MakeColumnsView(QWidget* parent, TextColumnsModel* model) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setObjectName("lstplu");
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return view;
}

void FitColumns(QTableView* view, const QFont& listFont, int characters) {
    // The number columns are as wide as their largest values; the code and name column takes
    // the rest of the view, and never less than a whole line of the list font.
    const int number = view->fontMetrics().horizontalAdvance(QStringLiteral("99999999.999")) + 16;
    for (int column = 1; column < view->model()->columnCount(); ++column) {
        view->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
        view->setColumnWidth(column, number);
    }
    view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    view->horizontalHeader()->setMinimumSectionSize(40);
    view->setMinimumWidth(QFontMetrics(listFont).averageCharWidth() * characters +
                          number * (view->model()->columnCount() - 1) + 24);
}

QLineEdit* AddSearchField(QWidget* parent, QHBoxLayout* row, std::function<void()> find) {
    row->addWidget(new QLabel("Sifra:", parent));
    auto* search = new QLineEdit(parent);
    search->setObjectName("Fart");
    search->setToolTip("Sifra artikla za pretragu");
    search->setMaxLength(20);
    search->setFixedWidth(search->fontMetrics().horizontalAdvance("0000000000000000"));
    QObject::connect(search, &QLineEdit::returnPressed, parent, std::move(find));
    row->addWidget(search);
    return search;
}

void ArticleList::show(bool rowsChanged, const std::string& fontFamily, int selectedRow) {
    if (rowsChanged) {
        model->refresh();
    }
    QFont listFont = view->font();
    listFont.setFamily(ToScreen(fontFamily));
    model->setListFont(listFont);
    if (listFont != fittedFont) {
        fittedFont = listFont;
        FitColumns(view, listFont, characters);
    }
    ShowSelectedRow(view, selectedRow);
}

void ShowSelectedRow(QTableView* view, int row) {
    if (row < 0 || row >= view->model()->rowCount()) {
        view->clearSelection();
        return;
    }
    view->selectRow(row);
    view->scrollTo(view->model()->index(row, 0));
}

}  // namespace qov::articles
