// The system screen ("Sistem"): a thin widget over SystemEditor.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include "settings/settings_screens.h"
#include "settings/system_params.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::settings {

namespace {

class SystemScreen : public QWidget, public Screen {
public:
    SystemScreen(Station& station, QWidget* parent) : QWidget(parent), editor_(station) {
        setObjectName(SystemEditor::kFormName);
        setWindowTitle(SystemEditor::kCaption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"Salva", "Sacuvaj", "Memorisanje unetih podataka", QStyle::SP_DialogSaveButton},
             {"Annulla", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* box = new QGroupBox(SystemEditor::kHeading, this);
        auto* form = new QFormLayout(box);
        ncassa_ = edit("txtncassa", "Broj kase");
        form->addRow("Broj Kase", ncassa_);
        carta_ = edit("txtcarta", "Intenzitet stampe termickog stampaca");
        form->addRow("Intenzitet Stampe", carta_);
        grafica1_ = check("chkgrafica1", "Grafika - 1",
                          "Ukljucivanje/Iskljucivanje grafike na pocetku racuna");
        number1_ = edit("txtgrafica1", "Broj grafike na pocetku racuna");
        form->addRow(grafica1_, number1_);
        grafica2_ = check("chkgrafica2", "Grafika - 2",
                          "Ukljucivanje/Iskljucivanje grafike na kraju racuna");
        number2_ = edit("txtgrafica2", "Broj grafike na kraju racuna");
        form->addRow(grafica2_, number2_);
        op_ = check("chkop", "Duzenje Kasira", "Ukljucivanje/Iskljucivanje obaveze prijave kasira");
        form->addRow(op_);
        cic_ = check("chkcic", "Tonski Signal", "Ukljucivanje/Iskljucivanje tonskog signala");
        form->addRow(cic_);
        manut_ =
            check("chkmanut", "Meni Odrzavanja", "Ukljucivanje/Iskljucivanje menija za testiranje");
        form->addRow(manut_);
        speed_ = new QComboBox(box);
        speed_->setObjectName("Combo2");
        for (const char* item : kSpeedItems) {
            speed_->addItem(item);
        }
        form->addRow("Komunikacija", speed_);
        layout->addWidget(box);
        layout->addStretch(1);

        connect(grafica1_, &QCheckBox::toggled, number1_, &QWidget::setEnabled);
        connect(grafica2_, &QCheckBox::toggled, number2_, &QWidget::setEnabled);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {460, 370}; }

    std::string formName() const override { return SystemEditor::kFormName; }

    void reloadFromTables() override {
        editor_.reload();
        showAll();
    }

private:
    QLineEdit* edit(const char* name, const char* tip) {
        auto* field = new QLineEdit(this);
        field->setObjectName(name);
        field->setToolTip(tip);
        return field;
    }
    QCheckBox* check(const char* name, const char* label, const char* tip) {
        auto* box = new QCheckBox(label, this);
        box->setObjectName(name);
        box->setToolTip(tip);
        return box;
    }

    void onKey(const std::string& key) {
        takeFields();
        if (editor_.onToolbar(key)) {
            CloseScreenWindow(this);
        }
    }

    void takeFields() {
        editor_.txtncassa = FromScreen(ncassa_->text());
        editor_.txtcarta = FromScreen(carta_->text());
        editor_.chkgrafica1 = grafica1_->isChecked();
        editor_.txtgrafica1 = FromScreen(number1_->text());
        editor_.chkgrafica2 = grafica2_->isChecked();
        editor_.txtgrafica2 = FromScreen(number2_->text());
        editor_.chkop = op_->isChecked();
        editor_.chkcic = cic_->isChecked();
        editor_.chkmanut = manut_->isChecked();
        editor_.speedIndex = speed_->currentIndex();
    }

    void showAll() {
        ncassa_->setText(ToScreen(editor_.txtncassa));
        carta_->setText(ToScreen(editor_.txtcarta));
        grafica1_->setChecked(editor_.chkgrafica1);
        number1_->setText(ToScreen(editor_.txtgrafica1));
        number1_->setEnabled(editor_.chkgrafica1);
        grafica2_->setChecked(editor_.chkgrafica2);
        number2_->setText(ToScreen(editor_.txtgrafica2));
        number2_->setEnabled(editor_.chkgrafica2);
        op_->setChecked(editor_.chkop);
        cic_->setChecked(editor_.chkcic);
        manut_->setChecked(editor_.chkmanut);
        speed_->setCurrentIndex(editor_.speedIndex);
    }

    SystemEditor editor_;
    QLineEdit* ncassa_ = nullptr;
    QLineEdit* carta_ = nullptr;
    QCheckBox* grafica1_ = nullptr;
    QLineEdit* number1_ = nullptr;
    QCheckBox* grafica2_ = nullptr;
    QLineEdit* number2_ = nullptr;
    QCheckBox* op_ = nullptr;
    QCheckBox* cic_ = nullptr;
    QCheckBox* manut_ = nullptr;
    QComboBox* speed_ = nullptr;
};

}  // namespace

QWidget* CreateSystemScreen(Station& station, QWidget* parent) {
    return new SystemScreen(station, parent);
}

}  // namespace qov::settings
