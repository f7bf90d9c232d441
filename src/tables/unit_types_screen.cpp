// The unit and article-type name editors ("Jedinice mere", "Tipovi artikala"): one thin
// widget over UnitTypeEditor.
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

#include "tables/transfer_screens.h"
#include "tables/unit_type_editor.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::tables {

namespace {

class UnitTypesScreen : public QWidget, public Screen {
public:
    UnitTypesScreen(Station& station, UnitTypeEditor::Kind kind, QWidget* parent)
        : QWidget(parent), editor_(station, kind) {
        const bool units = kind == UnitTypeEditor::Kind::Units;
        setObjectName(units ? "frmMesUnits" : "frmTipArt");
        setWindowTitle(editor_.caption());

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(
            MakeScreenToolbar(this,
                              {{"aggiorna", "Azuriraj", "Sacuvaj izmene izabranog naziva",
                                QStyle::SP_DialogSaveButton},
                               {"esci", "Izlaz", "Zatvori", QStyle::SP_DialogCloseButton}},
                              [this](const std::string& key) { onKey(key); }));

        auto* body = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(
            new QLabel(units ? "Spisak jedinica mera" : "Spisak naziva tipova artikala", this));
        list_ = new QListWidget(this);
        list_->setMinimumWidth(240);
        connect(list_, &QListWidget::itemClicked, this, [this] { onLine(list_->currentRow()); });
        // Enter or a double click on the current line; no selection follows the focus alone.
        connect(list_, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { onLine(list_->row(item)); });
        left->addWidget(list_);
        body->addLayout(left, 1);

        auto* right = new QVBoxLayout;
        panel_ = new QGroupBox(units ? "Jedinica mere" : "Tip artikla", this);
        auto* form = new QFormLayout(panel_);
        name_ = new QLineEdit(panel_);
        name_->setObjectName("txtName");
        name_->setToolTip(units ? "Naziv jedinice mere" : "Naziv tipa artikla");
        abbreviation_ = new QLineEdit(panel_);
        abbreviation_->setObjectName("txtShort");
        form->addRow("Naziv", name_);
        form->addRow("Skracenica", abbreviation_);
        right->addWidget(panel_);
        right->addStretch(1);
        body->addLayout(right, 1);
        layout->addLayout(body);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {600, 400}; }

    std::string formName() const override { return editor_.formName(); }

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
        editor_.abbreviation = FromScreen(abbreviation_->text());
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
        abbreviation_->setText(ToScreen(editor_.abbreviation));
        panel_->setVisible(editor_.panelVisible());
        for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(name_),
                           static_cast<QWidget*>(abbreviation_)}) {
            SetFontFamily(w, editor_.fontName());
        }
        showing_ = false;
    }

    UnitTypeEditor editor_;
    bool showing_ = false;
    QListWidget* list_ = nullptr;
    QGroupBox* panel_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* abbreviation_ = nullptr;
};

}  // namespace

QWidget* CreateUnitsScreen(Station& station, QWidget* parent) {
    return new UnitTypesScreen(station, UnitTypeEditor::Kind::Units, parent);
}

QWidget* CreateArticleTypesScreen(Station& station, QWidget* parent) {
    return new UnitTypesScreen(station, UnitTypeEditor::Kind::Types, parent);
}

}  // namespace qov::tables
