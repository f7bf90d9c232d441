#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/main_logic.h"

namespace qov {

AboutBox::AboutBox(MainLogic& logic, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle("O programu QovCom");
    logic.aboutOpened();

    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* title = new QLabel("QovCom");
    title->setObjectName("lblTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* version = new QLabel(QString::fromLatin1(logic.aboutVersion().c_str()));
    version->setObjectName("lblVersion");
    auto* description = new QLabel(
        "Programiranje i citanje fiskalnih kasa:\n"
        "artikli, odeljenja, kasiri, valute, poreske stope,\n"
        "zaglavlje isecka i fiskalni izvestaji.");
    auto* company = new QLabel("Arvon Cash Registers");
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(description);
    text->addSpacing(4);
    text->addWidget(company);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setText("OK");
    QPushButton* info =
        buttons->addButton("&Sistemske informacije...", QDialogButtonBox::ActionRole);
    info->setObjectName("cmdSysInfo");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(info, &QPushButton::clicked, this, [&logic] { logic.systemInformation(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
    CenterForm(this);
}

void AboutBox::CenterForm(QWidget* form) {
    QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
}

}  // namespace qov
