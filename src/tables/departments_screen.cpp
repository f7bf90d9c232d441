// The departments editor ("Odeljenja"): a thin widget over DepartmentEditor.
#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include "tables/department_editor.h"
#include "tables/departments.h"
#include "tables/transfer_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::tables {

namespace {

class DepartmentsScreen : public QWidget, public Screen {
public:
    DepartmentsScreen(Station& station, QWidget* parent) : QWidget(parent), editor_(station) {
        setObjectName(DepartmentEditor::kFormName);
        setWindowTitle(DepartmentEditor::kCaption);

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
        left->addWidget(new QLabel("Nazivi odeljenja", this));
        list_ = new QListWidget(this);
        list_->setMinimumWidth(240);
        list_->setContextMenuPolicy(Qt::CustomContextMenu);
        list_->installEventFilter(this);
        connect(list_, &QListWidget::itemClicked, this, [this] { onLine(list_->currentRow()); });
        connect(list_, &QListWidget::itemDoubleClicked, this,
                [this] { onLine(list_->currentRow()); });
        connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
            if (QListWidgetItem* item = list_->itemAt(at)) {
                list_->setCurrentItem(item);
                onLine(list_->row(item));
            }
        });
        left->addWidget(list_);
        check1_ = new QCheckBox("Check1", this);
        connect(check1_, &QCheckBox::clicked, this, [this](bool checked) {
            takeFields();
            editor_.setCheck1(checked);
            showAll();
        });
        left->addWidget(check1_);
        body->addLayout(left, 1);

        auto* right = new QVBoxLayout;
        panel_ = new QGroupBox("Odeljenje", this);
        auto* form = new QFormLayout(panel_);
        description_ = new QLineEdit(panel_);
        description_->setMaxLength(static_cast<int>(kDepartmentNameWidth));
        connect(description_, &QLineEdit::returnPressed, this, [this] {
            takeFields();
            editor_.descriptionEnter();
            showAll();
        });
        price_ = new QLineEdit(panel_);
        vatRate_ = new QLineEdit(panel_);
        vatRate_->installEventFilter(this);
        autoClose_ = new QCheckBox(panel_);
        description_->setToolTip("Naziv odeljenja");
        form->addRow("Naziv", description_);
        form->addRow("Max Cena", price_);
        form->addRow("Poreska stopa", vatRate_);
        form->addRow("Auto Close", autoClose_);
        right->addWidget(panel_);
        right->addStretch(1);
        body->addLayout(right, 1);
        layout->addLayout(body);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {660, 440}; }

    std::string formName() const override { return DepartmentEditor::kFormName; }

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
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == list_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            editor_.escapeInList();
            showAll();
            return true;
        }
        if (watched == vatRate_ && event->type() == QEvent::FocusOut) {
            editor_.vatRate = FromScreen(vatRate_->text());
            editor_.vatRateLeft();
        }
        return QWidget::eventFilter(watched, event);
    }

    void closeEvent(QCloseEvent* event) override {
        editor_.close();
        QWidget::closeEvent(event);
    }

private:
    void onKey(const std::string& key) {
        takeFields();
        const bool closes = editor_.onToolbar(key);
        if (closes) {
            CloseScreenWindow(this);
            return;
        }
        showAll();
    }

    void onLine(int row) {
        editor_.selectLine(row);
        showAll();
    }

    void takeFields() {
        editor_.description = FromScreen(description_->text());
        editor_.maxPrice = FromScreen(price_->text());
        editor_.vatRate = FromScreen(vatRate_->text());
        editor_.autoClose = autoClose_->isChecked();
    }

    void showAll() {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& line : editor_.lines()) {
            list_->addItem(ToScreen(line));
        }
        if (editor_.selected() >= 0 && editor_.selected() < list_->count()) {
            list_->setCurrentRow(editor_.selected());
        }
        description_->setText(ToScreen(editor_.description));
        price_->setText(ToScreen(editor_.maxPrice));
        vatRate_->setText(ToScreen(editor_.vatRate));
        autoClose_->setChecked(editor_.autoClose);
        check1_->setChecked(editor_.check1());
        panel_->setVisible(editor_.panelVisible());
        // The list and every text field of the panel share the font of the script.
        for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(description_),
                           static_cast<QWidget*>(price_), static_cast<QWidget*>(vatRate_)}) {
            SetFontFamily(w, editor_.fontName());
        }
    }

    DepartmentEditor editor_;
    QListWidget* list_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QGroupBox* panel_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* price_ = nullptr;
    QLineEdit* vatRate_ = nullptr;
    QCheckBox* autoClose_ = nullptr;
};

}  // namespace

QWidget* CreateDepartmentsScreen(Station& station, QWidget* parent) {
    return new DepartmentsScreen(station, parent);
}

}  // namespace qov::tables
