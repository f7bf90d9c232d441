// The function-limits screen ("Funkcije"): a thin widget over FunctionEditor.
#include <QFontDatabase>
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

#include "settings/function_editor.h"
#include "settings/settings_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::settings {

namespace {

class FunctionsScreen : public QWidget, public Screen {
public:
    FunctionsScreen(Station& station, QWidget* parent) : QWidget(parent), editor_(station) {
        setObjectName(FunctionEditor::kFormName);
        setWindowTitle(FunctionEditor::kCaption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(
            MakeScreenToolbar(this,
                              {{"aggiorna", "Azuriraj", "", QStyle::SP_DialogSaveButton},
                               {"nuovo", "Novo", "", QStyle::SP_FileIcon},
                               {"elimina", "Obrisi", "", QStyle::SP_TrashIcon},
                               {"svuota", "Obrisi sve", "", QStyle::SP_DialogResetButton},
                               {"inserisci", "Dodaj", "", QStyle::SP_FileDialogNewFolder},
                               {"esci", "Izlaz", "", QStyle::SP_DialogCloseButton}},
                              [this](const std::string& key) { onKey(key); }));

        auto* body = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(new QLabel(FunctionEditor::kHeading, this));
        list_ = new QListWidget(this);
        list_->setObjectName("lstplu");
        // The rows line their names up with blanks: a fixed-pitch font keeps the column.
        list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
            editor_.visualizza(list_->currentRow());
            showAll();
        });
        left->addWidget(list_);
        body->addLayout(left, 1);

        panel_ = new QGroupBox(this);
        panel_->setObjectName("Picture1");
        auto* form = new QFormLayout(panel_);
        desc_ = new QLineEdit(panel_);
        desc_->setObjectName("txtDesc");
        value_ = new QLineEdit(panel_);
        value_->setObjectName("txtValue");
        valueLabel_ = new QLabel("Iznos", panel_);
        valueLabel_->setObjectName("lbl5");
        form->addRow("Naziv", desc_);
        form->addRow(valueLabel_, value_);
        body->addWidget(panel_, 1);
        layout->addLayout(body);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {680, 380}; }

    std::string formName() const override { return FunctionEditor::kFormName; }

private:
    void onKey(const std::string& key) {
        editor_.txtDesc = FromScreen(desc_->text());
        editor_.txtValue = FromScreen(value_->text());
        if (editor_.onToolbar(key)) {
            CloseScreenWindow(this);
            return;
        }
        showAll();
    }

    void showAll() {
        list_->clear();
        for (const std::string& line : editor_.lines()) {
            list_->addItem(ToScreen(line));
        }
        if (editor_.selected() >= 0 && editor_.selected() < list_->count()) {
            list_->setCurrentRow(editor_.selected());
        }
        desc_->setText(ToScreen(editor_.txtDesc));
        value_->setText(ToScreen(editor_.txtValue));
        valueLabel_->setVisible(editor_.valueVisible());
        value_->setVisible(editor_.valueVisible());
        panel_->setVisible(editor_.panelVisible());
    }

    FunctionEditor editor_;
    QListWidget* list_ = nullptr;
    QGroupBox* panel_ = nullptr;
    QLineEdit* desc_ = nullptr;
    QLineEdit* value_ = nullptr;
    QLabel* valueLabel_ = nullptr;
};

}  // namespace

QWidget* CreateFunctionsScreen(Station& station, QWidget* parent) {
    return new FunctionsScreen(station, parent);
}

}  // namespace qov::settings
