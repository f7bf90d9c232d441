#include "ui/comline_screen.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov {

ComLineScreen::ComLineScreen(Station& station, QWidget* parent)
    : QWidget(parent), station_(station), logic_(station) {
    setObjectName("frmcomline");
    setWindowTitle("Komunikacija");
    setWindowIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));

    toolbar_ = MakeScreenToolbar(
        this,
        {{"Salva", "Sacuvaj", "Sacuvaj port i brzinu", QStyle::SP_DialogSaveButton},
         {"Annulla", "Izlaz", "Zatvori prozor", QStyle::SP_DialogCloseButton},
         {"Connect", "Pozovi", "Pozovi kasu preko modema", QStyle::SP_DialogYesButton},
         {"Disconnect", "Prekini", "Prekini modemsku vezu", QStyle::SP_DialogNoButton}},
        [this](const std::string& key) { pressToolbar(key); });
    toolbar_->setObjectName("Toolbar1");

    port_ = new QComboBox;
    port_->setObjectName("cboPort");
    for (int i = 1; i <= kPortCount; ++i) {
        port_->addItem(QString("Com%1").arg(i));
    }
    speed_ = new QComboBox;
    speed_->setObjectName("cboSpeed");
    for (int speed : kLineSpeeds) {
        speed_->addItem(QString("%1 bps").arg(speed));
    }
    tone_ = new QCheckBox("Tone");
    tone_->setObjectName("chkTone");
    phone_ = new QLineEdit;
    phone_->setObjectName("PhoneNumber");
    password_ = new QLineEdit;
    password_->setObjectName("Password");

    auto* lineBox = new QGroupBox("Serijska linija");
    auto* lineForm = new QFormLayout(lineBox);
    lineForm->addRow("Port:", port_);
    lineForm->addRow("Brzina:", speed_);

    auto* modemBox = new QGroupBox("Modem");
    auto* modemForm = new QFormLayout(modemBox);
    modemForm->addRow("", tone_);
    modemForm->addRow("Broj telefona:", phone_);
    modemForm->addRow("Lozinka:", password_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(toolbar_);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 4, 10, 0);
    body->addWidget(lineBox);
    body->addWidget(modemBox);
    body->addStretch(1);
    layout->addLayout(body);

    connect(tone_, &QCheckBox::clicked, this,
            [this](bool checked) { logic_.onToneClicked(checked); });

    logic_.open();
    showFields();
    resize(360, 330);
}

void ComLineScreen::reloadFromTables() {
    logic_.RefreshLineScreen();
    showFields();
}

void ComLineScreen::showFields() {
    port_->setCurrentIndex(logic_.portIndex);
    speed_->setCurrentIndex(logic_.speedIndex);
    tone_->setChecked(logic_.tone);
    phone_->setText(ToScreen(logic_.phoneNumber));
    password_->setText(ToScreen(logic_.password));
}

void ComLineScreen::takeFields() {
    logic_.portIndex = port_->currentIndex();
    logic_.speedIndex = speed_->currentIndex();
    logic_.tone = tone_->isChecked();
    logic_.phoneNumber = FromScreen(phone_->text());
    logic_.password = FromScreen(password_->text());
}

void ComLineScreen::pressToolbar(const std::string& key) {
    takeFields();
    const bool blocks = key == "Connect" || key == "Disconnect";
    if (blocks) {
        station_.dialogs.setBusy(true);
        setEnabled(false);
    }
    logic_.onToolbar(key);
    if (blocks) {
        setEnabled(true);
        station_.dialogs.setBusy(false);
    }
    if (logic_.closeRequested()) {
        CloseScreenWindow(this);
    }
}

}  // namespace qov
