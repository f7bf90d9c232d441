#include "fiscal/logo_screen.h"

#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "widgets/screen_toolbar.h"

namespace qov::fiscal {

GraphicLogoScreen::GraphicLogoScreen(Station& station, OpenBeside openBeside, QWidget* parent)
    : QWidget(parent), station_(station), logic_(station), openBeside_(std::move(openBeside)) {
    setObjectName(GraphicLogo::kFormName);
    setWindowTitle(GraphicLogo::kCaption);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));

    auto* heading = new QLabel("Graficki logo");
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);

    option1_ = new QRadioButton("Graficki logo 1");
    option1_->setObjectName("Option1");
    option1_->setToolTip("Grafika na pocetku racuna");
    option2_ = new QRadioButton("Graficki logo 2");
    option2_->setObjectName("Option2");
    option2_->setToolTip("Grafika na kraju racuna");
    auto* slotBox = new QGroupBox;
    auto* slotLayout = new QVBoxLayout(slotBox);
    slotLayout->addWidget(option1_);
    slotLayout->addWidget(option2_);

    auto* otvori = new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton), "Otvori");
    otvori->setObjectName("Command1");
    otvori->setToolTip("Izbor slike za programiranje");
    auto* izlaz = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), "Izlaz");
    izlaz->setObjectName("Command2");
    izlaz->setToolTip("Zatvaranje forme");
    connect(otvori, &QPushButton::clicked, this, [this] { this->otvori(); });
    connect(izlaz, &QPushButton::clicked, this, [this] { CloseScreenWindow(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(otvori);
    buttons->addWidget(izlaz);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(heading);
    layout->addWidget(slotBox);
    layout->addLayout(buttons);
    layout->addStretch(1);
    resize(280, 200);
}

void GraphicLogoScreen::otvori() {
    logic_.slot = option1_->isChecked() ? 1 : option2_->isChecked() ? 2 : 0;
    if (logic_.otvori() && openBeside_) {
        openBeside_(CreateLogoPictureScreen(station_), this);
    }
}

LogoPictureScreen::LogoPictureScreen(Station& station, QWidget* parent)
    : QWidget(parent), logic_(station) {
    setObjectName("frmDocument");
    setWindowTitle(LogoDocument::kCaption);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));

    QToolBar* toolbar =
        MakeScreenToolbar(this,
                          {{"Salva", "Posalji", "Programiranje slike", QStyle::SP_ArrowUp},
                           {"Annulla", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}},
                          [this](const std::string& key) { pressToolbar(key); });
    toolbar->setObjectName("Toolbar1");

    picture_ = new QLabel;
    picture_->setObjectName("Picture1");
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea;
    scroll->setWidget(picture_);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Base);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(toolbar);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 4, 10, 0);
    body->addWidget(new QLabel("Izgled:"));
    body->addWidget(scroll, 1);
    layout->addLayout(body, 1);
    resize(420, 320);
}

bool LogoPictureScreen::hasPicture() const {
    return !picture_->pixmap().isNull();
}

void LogoPictureScreen::start() {
    logic_.open();
    if (logic_.file().empty()) {
        return;
    }
    const QString path = QFile::decodeName(QByteArray::fromStdString(logic_.file()));
    setWindowTitle(QString(LogoDocument::kCaption) + " - " + path);
    QImage image;
    if (image.load(path)) {
        picture_->setPixmap(QPixmap::fromImage(image));
    } else {
        picture_->clear();
    }
}

void LogoPictureScreen::pressToolbar(const std::string& key) {
    if (key == "Salva") {
        logic_.posalji();
    } else if (key == "Annulla") {
        logic_.izlaz();
    }
    if (logic_.closeRequested()) {
        CloseScreenWindow(this);
    }
}

QWidget* CreateGraphicLogoScreen(Station& station, OpenBeside openBeside) {
    return new GraphicLogoScreen(station, std::move(openBeside));
}

QWidget* CreateLogoPictureScreen(Station& station) {
    auto* screen = new LogoPictureScreen(station);
    screen->start();
    return screen;
}

}  // namespace qov::fiscal
