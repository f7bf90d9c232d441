// The sales views "Primljeni artikli" and "Prodati artikli": thin widgets over
// ArticleSalesView.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "articles/article_csv_keys.h"
#include "articles/article_sales_view.h"
#include "articles/article_screens.h"
#include "articles/article_parts_screen.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::articles {

namespace {

class ArticleSalesScreen : public QWidget, public Screen {
public:
    ArticleSalesScreen(Station& station, ArticleSalesView::Kind kind, QWidget* parent)
        : QWidget(parent), station_(station), view_(station, kind) {
        setObjectName(ToScreen(view_.formName()));
        setWindowTitle(ToScreen(view_.caption()));

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"elimina", "Prebaci u PLU", "Prenos primljenih artikala u tabelu artikala",
              QStyle::SP_ArrowRight},
             {"findArt", "Pronadji", "Pretraga po sifri", QStyle::SP_FileDialogContentsView},
             {"izvozCSV", "Izvoz CSV", "Izvoz artikala u CSV datoteku", QStyle::SP_ArrowUp},
             {"esci", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* searchRow = new QHBoxLayout;
        search_ = AddSearchField(this, searchRow, [this] { onKey("findArt"); });
        auto* find = new QPushButton("Pronadji", this);
        find->setObjectName("FinfArt");
        connect(find, &QPushButton::clicked, this, [this] { onKey("findArt"); });
        searchRow->addWidget(find);
        searchRow->addSpacing(16);
        auto* copy = new QPushButton("Prebaci u PLU", this);
        copy->setObjectName("PLU_preb");
        connect(copy, &QPushButton::clicked, this, [this] { onKey("elimina"); });
        searchRow->addWidget(copy);
        searchRow->addStretch();
        layout->addLayout(searchRow);

        auto* body = new QHBoxLayout;
        const ArticleColumns& c = view_.columns();
        const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
        model_ = new TextColumnsModel({{"Sifra i naziv", "Sifre i nazivi artikala", &c.main,
                                        Qt::AlignLeft | Qt::AlignVCenter, true},
                                       {"Cena", "Cene artikala", &c.price, right},
                                       {"Lager", "Stanje lagera artikala", &c.stock, right},
                                       {"Kolicina", "Prodata kolicina", &c.quantity, right},
                                       {"Iznos", "Vrednost prodate robe", &c.value, right}},
                                      this);
        table_ = MakeColumnsView(this, model_);
        list_ = {model_, table_, 43, {}};
        table_->installEventFilter(this);
        connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) {
            view_.rowClicked(index.row());
            showAll(false);
        });
        connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
            view_.rowDoubleClicked(index.row());
            showAll(false);
        });
        body->addWidget(table_, 1);

        panel_ = MakeArticlePanel(this, {"Sifra ili barkod artikla", "Naziv artikla",
                                         "Cena artikla", "Stanje na lageru"});
        panel_.box->installEventFilter(this);
        panel_.vat->setObjectName("txtiva");
        quantity_ = new QLineEdit(panel_.box);
        quantity_->setObjectName("qty");
        quantity_->setToolTip("Prodata kolicina");
        value_ = new QLineEdit(panel_.box);
        value_->setObjectName("value");
        value_->setToolTip("Vrednost prodaje");
        panel_.form->addRow("Prodata kolicina", quantity_);
        panel_.form->addRow("Vrednost prodaje", value_);
        // The views only show what the register reported.
        for (QLineEdit* e :
             {panel_.code, panel_.name, panel_.price, panel_.stock, quantity_, value_}) {
            e->setReadOnly(true);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{
                 panel_.department, panel_.vat, panel_.unit, panel_.type, panel_.singleSale}) {
            w->setEnabled(false);
        }
        panel_.box->setMinimumWidth(300);
        body->addWidget(panel_.box);
        layout->addLayout(body, 1);

        view_.open();
        panel_.fillChoices(view_.choices());
        showAll(true);
    }

    std::string formName() const override { return view_.formName(); }

    void changeLanguage() override {
        takeSearch();
        view_.changeLanguage();
        showAll(true);
    }

    // Room for the list, its columns and the panel beside it.
    QSize sizeHint() const override { return {1080, 600}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && (watched == table_ || watched == panel_.box)) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
                view_.keyTyped();
                showAll(false);
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

    void closeEvent(QCloseEvent* event) override {
        view_.onToolbar("esci");  // the window's own close button does what "esci" does
        QWidget::closeEvent(event);
    }

private:
    void onKey(const std::string& key) {
        takeSearch();
        if (key == "izvozCSV") {
            ExportCsvChosenByUser(station_, view_.table(), view_.formName() + ".IzvozCSV()");
        } else if (view_.onToolbar(key)) {
            CloseScreenWindow(this);
            return;
        }
        showAll(false);
    }

    void takeSearch() { view_.searchCode = FromScreen(search_->text()); }

    void showAll(bool listChanged) {
        list_.show(listChanged, view_.fieldFont(), view_.selectedRow());
        search_->setText(ToScreen(view_.searchCode));
        panel_.show(view_.fields);
        quantity_->setText(ToScreen(view_.quantity));
        value_->setText(ToScreen(view_.value));
        panel_.setFonts(view_.fieldFont(), kCyrillicFont);
        panel_.box->setVisible(view_.panelVisible());
    }

    Station& station_;
    ArticleSalesView view_;
    TextColumnsModel* model_ = nullptr;
    ArticleList list_;
    QTableView* table_ = nullptr;
    QLineEdit* search_ = nullptr;
    ArticlePanel panel_;
    QLineEdit* quantity_ = nullptr;
    QLineEdit* value_ = nullptr;
};

}  // namespace

QWidget* CreateReceivedArticlesScreen(Station& station, QWidget* parent) {
    return new ArticleSalesScreen(station, ArticleSalesView::Kind::Received, parent);
}

QWidget* CreateSoldArticlesScreen(Station& station, QWidget* parent) {
    return new ArticleSalesScreen(station, ArticleSalesView::Kind::Sold, parent);
}

}  // namespace qov::articles
