// The cashiers editor ("Kasiri"): a thin widget over OperatorEditor.
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

#include "tables/operator_editor.h"
#include "tables/transfer_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::tables {

namespace {

class OperatorsScreen : public QWidget, public Screen {
public:
    OperatorsScreen(Station& station, QWidget* parent) : QWidget(parent), editor_(station) {
        setObjectName(OperatorEditor::kFormName);
        setWindowTitle(OperatorEditor::kCaption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"aggiorna", "Azuriraj", "Sacuvaj izmene izabranog kasira",
              QStyle::SP_DialogSaveButton},
             {"nuovo", "Novo", "Novi kasir", QStyle::SP_FileIcon},
             {"elimina", "Obrisi", "Obrisi izabranog kasira iz liste", QStyle::SP_TrashIcon},
             {"inserisci", "Dodaj", "Dodaj kasira na kraj liste", QStyle::SP_FileDialogNewFolder},
             {"Esci", "Izlaz", "Zatvori", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* body = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(new QLabel("Spisak kasira", this));
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
        panel_ = new QGroupBox("Kasir", this);
        auto* form = new QFormLayout(panel_);
        code_ = new QLineEdit(panel_);
        code_->setObjectName("txtCode");
        code_->setMaxLength(static_cast<int>(kOperatorCodeWidth));
        name_ = new QLineEdit(panel_);
        name_->setObjectName("txtName");
        name_->setMaxLength(static_cast<int>(kOperatorNameWidth));
        connect(name_, &QLineEdit::returnPressed, this, [this] {
            takeFields();
            editor_.nameEnter();
            showAll();
        });
        form->addRow("Pristupna sifra kasira", code_);
        form->addRow("Ime kasira", name_);
        right->addWidget(panel_);
        right->addStretch(1);
        body->addLayout(right, 1);
        layout->addLayout(body);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {660, 640}; }

    std::string formName() const override { return OperatorEditor::kFormName; }

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
        editor_.code = FromScreen(code_->text());
        editor_.name = FromScreen(name_->text());
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
        code_->setText(ToScreen(editor_.code));
        name_->setText(ToScreen(editor_.name));
        check1_->setChecked(editor_.check1());
        panel_->setVisible(editor_.panelVisible());
        for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(code_),
                           static_cast<QWidget*>(name_)}) {
            SetFontFamily(w, editor_.fontName());
        }
        showing_ = false;
    }

    OperatorEditor editor_;
    bool showing_ = false;
    QListWidget* list_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QGroupBox* panel_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
};

}  // namespace

QWidget* CreateOperatorsScreen(Station& station, QWidget* parent) {
    return new OperatorsScreen(station, parent);
}

}  // namespace qov::tables
