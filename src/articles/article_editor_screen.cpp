// The article editor ("Artikli"): a thin widget over ArticleEditor.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "articles/article_csv_keys.h"
#include "articles/article_editor.h"
#include "articles/article_screens.h"
#include "articles/article_parts_screen.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::articles {

namespace {

class ArticleEditorScreen : public QWidget, public Screen {
public:
    ArticleEditorScreen(Station& station, QWidget* parent)
        : QWidget(parent), station_(station), editor_(station) {
        setObjectName(ArticleEditor::kFormName);
        setWindowTitle(ArticleEditor::kCaption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"nuovo", "Novi", "Novi artikal", QStyle::SP_FileIcon},
             {"inserisci", "Upisi", "Upis novog artikla", QStyle::SP_DialogSaveButton},
             {"aggiorna", "Azuriraj", "Izmena izabranog artikla", QStyle::SP_BrowserReload},
             {"elimina", "Obrisi", "Brisanje izabranog artikla", QStyle::SP_TrashIcon},
             {"findArt", "Pronadji", "Pretraga po sifri", QStyle::SP_FileDialogContentsView},
             {"uvozCSV", "Uvoz CSV", "Uvoz artikala iz CSV datoteke", QStyle::SP_ArrowDown},
             {"izvozCSV", "Izvoz CSV", "Izvoz artikala u CSV datoteku", QStyle::SP_ArrowUp},
             {"esci", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* searchRow = new QHBoxLayout;
        search_ = AddSearchField(this, searchRow, [this] { onKey("findArt"); });
        searchRow->addSpacing(16);
        check1_ = new QCheckBox("Cirilica", this);
        check1_->setObjectName("Check1");
        connect(check1_, &QCheckBox::clicked, this, [this](bool checked) {
            takeFields();
            editor_.setCheck1(checked);
            showAll(false);
        });
        searchRow->addWidget(check1_);
        searchRow->addStretch();
        layout->addLayout(searchRow);

        auto* body = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        auto* heading = new QLabel("Spisak Artikala", this);
        heading->setStyleSheet("font-weight: bold");
        left->addWidget(heading);
        model_ = new TextColumnsModel(
            {{"Sifra i naziv", "Sifre i Nazivi artikala", &editor_.columns().main,
              Qt::AlignLeft | Qt::AlignVCenter, true},
             {"Cena", "Cene artikala", &editor_.columns().price, Qt::AlignRight | Qt::AlignVCenter},
             {"Lager", "Stanje lagera koje se programira u kasu", &editor_.columns().stock,
              Qt::AlignRight | Qt::AlignVCenter}},
            this);
        view_ = MakeColumnsView(this, model_);
        list_ = {model_, view_, 44, {}};
        view_->installEventFilter(this);
        connect(view_, &QTableView::clicked, this, [this](const QModelIndex& index) {
            takeFields();
            editor_.rowClicked(index.row());
            showAll(false);
        });
        connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
            editor_.rowDoubleClicked(index.row());
            showAll(false);
        });
        left->addWidget(view_);
        body->addLayout(left, 1);

        panel_ = MakeArticlePanel(this, {});
        panel_.box->installEventFilter(this);
        connect(panel_.price, &QLineEdit::editingFinished, this, [this] {
            takeFields();
            editor_.priceLeft();
            showAll(false);
        });
        connect(panel_.stock, &QLineEdit::editingFinished, this, [this] { stockLeft(); });
        panel_.unit->installEventFilter(this);
        auto* exitButton = new QPushButton("Izlaz", panel_.box);
        exitButton->setObjectName("Command1");
        exitButton->setToolTip("Zatvaranje forme");
        connect(exitButton, &QPushButton::clicked, this, [this] {
            takeFields();
            editor_.exitPanel();
            showAll(false);
        });
        panel_.form->addRow("", exitButton);
        panel_.box->setMinimumWidth(320);
        body->addWidget(panel_.box);
        layout->addLayout(body, 1);

        editor_.open();
        panel_.fillChoices(editor_.choices());
        showAll(true);
    }

    std::string formName() const override { return ArticleEditor::kFormName; }

    void changeLanguage() override {
        takeFields();
        editor_.changeLanguage();
        panel_.fillChoices(editor_.choices());
        showAll(true);
    }

    void lineWidthChanged() override {
        takeFields();
        editor_.open();
        panel_.fillChoices(editor_.choices());
        showAll(true);
    }

    // Room for the list, its columns and the panel beside it.
    QSize sizeHint() const override { return {1000, 600}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && (watched == view_ || watched == panel_.box)) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool escape = key->key() == Qt::Key_Escape;
            if (escape || (!key->text().isEmpty() && key->text().at(0).isPrint())) {
                takeFields();
                editor_.keyTyped(escape);
                showAll(false);
                return true;
            }
        }
        if (watched == panel_.unit && event->type() == QEvent::FocusOut) {
            stockLeft();
        }
        return QWidget::eventFilter(watched, event);
    }

    void closeEvent(QCloseEvent* event) override {
        editor_.esci();
        QWidget::closeEvent(event);
    }

private:
    void onKey(const std::string& key) {
        takeFields();
        if (key == "uvozCSV") {
            if (ImportCsvChosenByUser(station_, "frmPlu.UvozCSV()")) {
                editor_.open();
            }
        } else if (key == "izvozCSV") {
            ExportCsvChosenByUser(station_, kArticleTable, "frmPlu.IzvozCSV()");
        } else if (editor_.onToolbar(key)) {
            CloseScreenWindow(this);
            return;
        }
        showAll(true);
    }

    void stockLeft() {
        takeFields();
        editor_.stockLeft();
        showAll(false);
    }

    void takeFields() {
        panel_.take(editor_.fields);
        editor_.searchCode = FromScreen(search_->text());
    }

    // Shows the editor's state; `listChanged` reloads the list columns too.
    void showAll(bool listChanged) {
        const QSignalBlocker block(check1_);
        list_.show(listChanged, editor_.fieldFont(), editor_.selectedRow());
        search_->setText(ToScreen(editor_.searchCode));
        check1_->setChecked(editor_.check1());
        // The limits bind typing; a longer stored text is shown whole, not cut.
        const ArticleFields& f = editor_.fields;
        panel_.name->setMaxLength(
            std::max(editor_.nameMaxLength(), static_cast<int>(f.description.size())));
        panel_.price->setMaxLength(
            std::max({editor_.priceMaxLength(), static_cast<int>(f.price.size()), 1}));
        panel_.show(f);
        panel_.setFonts(editor_.fieldFont(), editor_.vatFont());
        panel_.setEnabled(editor_.codeEnabled(), editor_.fieldsEnabled());
        panel_.box->setVisible(editor_.panelVisible());
        if (editor_.codeFocusRequests() != focusRequests_) {
            focusRequests_ = editor_.codeFocusRequests();
            if (editor_.panelVisible()) {
                panel_.code->setFocus();
            }
        }
    }

    Station& station_;
    ArticleEditor editor_;
    TextColumnsModel* model_ = nullptr;
    ArticleList list_;
    QTableView* view_ = nullptr;
    QLineEdit* search_ = nullptr;
    QCheckBox* check1_ = nullptr;
    ArticlePanel panel_;
    int focusRequests_ = 0;
};

}  // namespace

QWidget* CreateArticleEditorScreen(Station& station, QWidget* parent) {
    return new ArticleEditorScreen(station, parent);
}

}  // namespace qov::articles
