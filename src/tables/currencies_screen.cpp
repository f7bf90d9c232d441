// The currencies editor ("Valute"): a thin widget over CurrencyEditor.
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include "tables/currency_editor.h"
#include "tables/transfer_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::tables {

namespace {

class CurrenciesScreen : public QWidget, public Screen {
public:
    CurrenciesScreen(Station& station, QWidget* parent) : QWidget(parent), editor_(station) {
        setObjectName(CurrencyEditor::kFormName);
        setWindowTitle(CurrencyEditor::kCaption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"aggiorna", "Azuriraj", "Sacuvaj izmene izabrane valute",
              QStyle::SP_DialogSaveButton},
             {"nuovo", "Novo", "Nova valuta", QStyle::SP_FileIcon},
             {"elimina", "Obrisi", "Obrisi izabranu valutu", QStyle::SP_TrashIcon},
             {"svuota", "Obrisi sve", "Vrati sve valute na pocetne vrednosti",
              QStyle::SP_DialogResetButton},
             {"inserisci", "Dodaj", "Dodaj valutu na kraj liste", QStyle::SP_FileDialogNewFolder},
             {"Esci", "Izlaz", "Zatvori", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* body = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(new QLabel("Spisak valuta", this));
        list_ = new QListWidget(this);
        list_->setMinimumWidth(260);
        connect(list_, &QListWidget::itemClicked, this, [this] { onLine(list_->currentRow()); });
        // Enter or a double click on the current line; no selection follows the focus alone.
        connect(list_, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { onLine(list_->row(item)); });
        left->addWidget(list_);
        check1_ = new QCheckBox("Cirilica", this);
        check1_->setObjectName("Check1");
        connect(check1_, &QCheckBox::clicked, this, [this](bool checked) {
            takeFields();
            editor_.setCheck1(checked);
            showAll();
        });
        left->addWidget(check1_);
        body->addLayout(left, 1);

        auto* right = new QVBoxLayout;
        panel_ = new QGroupBox("Valuta", this);
        auto* form = new QFormLayout(panel_);
        name_ = new QLineEdit(panel_);
        name_->setObjectName("txtName");
        name_->setMaxLength(static_cast<int>(kCurrencyNameWidth));
        name_->setToolTip("Naziv valute");
        rate_ = new QLineEdit(panel_);
        rate_->setObjectName("txtRate");
        rate_->setMaxLength(static_cast<int>(kCurrencyRateWidth));
        rate_->setToolTip("Kurs promene valute");
        form->addRow("Naziv", name_);
        form->addRow("Kurs", rate_);
        right->addWidget(panel_);
        right->addStretch(1);
        body->addLayout(right, 1);
        layout->addLayout(body);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {660, 380}; }

    std::string formName() const override { return CurrencyEditor::kFormName; }

    void changeLanguage() override {
        takeFields();
        editor_.DoChangeLang();
        showAll();
    }

    void reloadFromTables() override {
        takeFields();
        editor_.reload();
        showAll();
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        editor_.close();
        QWidget::closeEvent(event);
    }

private:
    void onKey(const std::string& key) {
        takeFields();
        if (editor_.onToolbar(key)) {
            CloseScreenWindow(this);
            return;
        }
        showAll();
    }

    void onLine(int row) {
        if (showing_ || row < 0) {
            return;
        }
        takeFields();
        editor_.selectLine(row);
        showAll();
    }

    void takeFields() {
        editor_.name = FromScreen(name_->text());
        editor_.rate = FromScreen(rate_->text());
    }

    void showAll() {
        showing_ = true;
        list_->clear();
        for (const std::string& line : editor_.lines()) {
            list_->addItem(ToScreen(line));
        }
        if (editor_.selected() >= 0 && editor_.selected() < list_->count()) {
            list_->setCurrentRow(editor_.selected());
        }
        name_->setText(ToScreen(editor_.name));
        rate_->setText(ToScreen(editor_.rate));
        check1_->setChecked(editor_.check1());
        panel_->setVisible(editor_.panelVisible());
        for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(name_),
                           static_cast<QWidget*>(rate_)}) {
            SetFontFamily(w, editor_.fontName());
        }
        showing_ = false;
    }

    CurrencyEditor editor_;
    bool showing_ = false;
    QListWidget* list_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QGroupBox* panel_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* rate_ = nullptr;
};

}  // namespace

QWidget* CreateCurrenciesScreen(Station& station, QWidget* parent) {
    return new CurrenciesScreen(station, parent);
}

}  // namespace qov::tables
