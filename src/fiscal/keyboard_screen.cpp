#include "fiscal/keyboard_screen.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::fiscal {

namespace {

// Where a key sits on the drawn keyboard, its label and its colour group.
enum class KeyKind { Digit, Department, Function, Total, Clear };
struct KeyPlace {
    const char* name;
    const char* label;
    int row;
    int column;
    int rowSpan;
    int columnSpan;
    KeyKind kind;
};

// clang-format off
// Top row: paper and mode keys; left column: departments; middle: the number block;
// right: payments, with "TOTAL" the largest key.
constexpr KeyPlace kPlaces[] = {
    {"feedjourn", "KONTR.\nTRAKA", 0, 0, 1, 1, KeyKind::Function},
    {"feedsc", "TRAKA\nRACUNA", 0, 1, 1, 1, KeyKind::Function},
    {"shift", "SHIFT", 0, 2, 1, 1, KeyKind::Function},
    {"key", "MOD", 0, 3, 1, 1, KeyKind::Function},
    {"cashin", "UPLATA", 0, 4, 1, 1, KeyKind::Function},
    {"cashout", "ISPLATA", 0, 5, 1, 1, KeyKind::Function},
    {"check", "CEK", 0, 6, 1, 1, KeyKind::Function},
    {"dep1", "ODJ 1", 5, 0, 1, 1, KeyKind::Department},
    {"dep2", "ODJ 2", 4, 0, 1, 1, KeyKind::Department},
    {"dep3", "ODJ 3", 3, 0, 1, 1, KeyKind::Department},
    {"dep4", "ODJ 4", 2, 0, 1, 1, KeyKind::Department},
    {"dep5", "ODJ 5", 1, 0, 1, 1, KeyKind::Department},
    {"storno", "STORNO", 1, 1, 1, 1, KeyKind::Function},
    {"returnitem", "POVRAT", 1, 2, 1, 1, KeyKind::Function},
    {"discountperc", "POPUST\n%", 1, 3, 1, 1, KeyKind::Function},
    {"discountval", "POPUST\nIZNOS", 1, 4, 1, 1, KeyKind::Function},
    {"per", "X", 1, 5, 1, 1, KeyKind::Function},
    {"plu", "PLU", 1, 6, 1, 1, KeyKind::Function},
    {"clear", "C", 2, 1, 4, 1, KeyKind::Clear},
    {"seven", "7", 2, 2, 1, 1, KeyKind::Digit},
    {"eight", "8", 2, 3, 1, 1, KeyKind::Digit},
    {"nine", "9", 2, 4, 1, 1, KeyKind::Digit},
    {"currencyV", "VALUTA", 2, 5, 1, 1, KeyKind::Function},
    {"ticket", "BON", 2, 6, 1, 1, KeyKind::Function},
    {"four", "4", 3, 2, 1, 1, KeyKind::Digit},
    {"five", "5", 3, 3, 1, 1, KeyKind::Digit},
    {"six", "6", 3, 4, 1, 1, KeyKind::Digit},
    {"creditcard", "KARTICA", 3, 5, 1, 1, KeyKind::Function},
    {"subtotal", "MEDJU\nZBIR", 3, 6, 1, 1, KeyKind::Total},
    {"one", "1", 4, 2, 1, 1, KeyKind::Digit},
    {"two", "2", 4, 3, 1, 1, KeyKind::Digit},
    {"three", "3", 4, 4, 1, 1, KeyKind::Digit},
    {"total", "TOTAL", 4, 5, 2, 2, KeyKind::Total},
    {"zero", "0", 5, 2, 1, 1, KeyKind::Digit},
    {"doublezero", "00", 5, 3, 1, 1, KeyKind::Digit},
    {"comma", ",", 5, 4, 1, 1, KeyKind::Digit},
};
// clang-format on

QString KeyStyle(KeyKind kind) {
    const char* face = "#e8e6df";
    const char* text = "#202020";
    switch (kind) {
        case KeyKind::Digit:
            face = "#f4f3ee";
            break;
        case KeyKind::Department:
            face = "#9cc3e6";
            break;
        case KeyKind::Function:
            face = "#d9d5c7";
            break;
        case KeyKind::Total:
            face = "#7cc47f";
            break;
        case KeyKind::Clear:
            face = "#e57c6e";
            text = "#ffffff";
            break;
    }
    return QString(
               "QPushButton { background: %1; color: %2; border: 1px solid #6b6b6b;"
               " border-bottom: 3px solid #4a4a4a; border-radius: 6px; font-weight: bold; }"
               "QPushButton:pressed { border-bottom: 1px solid #4a4a4a; margin-top: 2px; }")
        .arg(face, text);
}

QLabel* DisplayLine(const char* name, const QFont& font, const char* colour) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    // 16 characters and a little room.
    label->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(17, QLatin1Char('8'))));
    label->setStyleSheet(QString("QLabel { background: #142014; color: %1; padding: 3px 8px;"
                                 " border: 2px inset #0b120b; }")
                             .arg(colour));
    return label;
}

}  // namespace

KeyboardScreen::KeyboardScreen(Station& station, QWidget* parent)
    : QWidget(parent), logic_(station), timer_(new QTimer(this)) {
    setObjectName(Keyboard::kFormName);
    setWindowTitle(Keyboard::kCaption);
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    timer_->setObjectName("Timer1");
    timer_->setTimerType(Qt::CoarseTimer);
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });

    QFont lcd("DejaVu Sans Mono");
    lcd.setStyleHint(QFont::Monospace);
    lcd.setPointSize(15);
    lcd.setBold(true);
    lcd.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    user1_ = DisplayLine("UserDisplay1", lcd, "#8cff7a");
    user2_ = DisplayLine("UserDisplay2", lcd, "#8cff7a");
    customer_ = DisplayLine("CustomerDisplay", lcd, "#ffc04a");

    auto* displays = new QFrame;
    displays->setObjectName("displays");
    displays->setStyleSheet(
        "#displays { background: #3b3f45; border-radius: 8px; }"
        " QLabel#caption { color: #d8d8d8; font-size: 8pt; }");
    auto* displayGrid = new QGridLayout(displays);
    displayGrid->setContentsMargins(12, 8, 12, 10);
    auto caption = [](const char* text) {
        auto* label = new QLabel(text);
        label->setObjectName("caption");
        return label;
    };
    displayGrid->addWidget(caption("KASIR"), 0, 0);
    displayGrid->addWidget(user1_, 1, 0);
    displayGrid->addWidget(user2_, 2, 0);
    displayGrid->addWidget(caption("KUPAC"), 0, 1);
    displayGrid->addWidget(customer_, 1, 1);
    displayGrid->setColumnStretch(0, 1);
    displayGrid->setColumnStretch(1, 1);

    auto* body = new QFrame;
    body->setObjectName("keyboard");
    body->setStyleSheet("#keyboard { background: #55595f; border-radius: 10px; }");
    auto* grid = new QGridLayout(body);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setSpacing(7);
    for (const KeyPlace& place : kPlaces) {
        auto* button = new QPushButton(place.label);
        button->setObjectName(place.name);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumSize(72, 46);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setStyleSheet(KeyStyle(place.kind));
        const std::string name = place.name;
        connect(button, &QPushButton::clicked, this, [this, name] { pressKey(name); });
        grid->addWidget(button, place.row, place.column, place.rowSpan, place.columnSpan);
        keys_[name] = button;
    }

    auto* izlaz = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), "Izlaz");
    izlaz->setObjectName("Cancel");
    izlaz->setShortcut(Qt::Key_Escape);
    izlaz->setToolTip("Zatvaranje forme");
    connect(izlaz, &QPushButton::clicked, this, [this] { cancel(); });

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(izlaz);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(displays);
    layout->addWidget(body, 1);
    layout->addLayout(bottom);

    logic_.open();
    showDisplay();
    resize(640, 540);
}

QPushButton* KeyboardScreen::keyButton(const std::string& name) const {
    const auto it = keys_.find(name);
    return it == keys_.end() ? nullptr : it->second;
}

QString KeyboardScreen::shownLine(int line) const {
    const QLabel* labels[] = {user1_, user2_, customer_};
    return line >= 0 && line < 3 ? labels[line]->text() : QString();
}

void KeyboardScreen::pressKey(const std::string& name) {
    if (!logic_.press(name)) {
        return;
    }
    if (logic_.timerInterval() > 0 && !timer_->isActive()) {
        timer_->start(logic_.timerInterval());
    }
}

void KeyboardScreen::tick() {
    if (logic_.poll()) {
        showDisplay();
    }
    closeWhenAsked();
}

void KeyboardScreen::cancel() {
    logic_.cancel();
    closeWhenAsked();
}

void KeyboardScreen::showDisplay() {
    const DisplayLines& lines = logic_.display();
    user1_->setText(ToScreen(lines.operator1));
    user2_->setText(ToScreen(lines.operator2));
    customer_->setText(ToScreen(lines.customer));
}

void KeyboardScreen::closeWhenAsked() {
    if (logic_.timerInterval() == 0) {
        timer_->stop();
    }
    if (logic_.closeRequested()) {
        CloseScreenWindow(this);
    }
}

QWidget* CreateKeyboardScreen(Station& station) {
    return new KeyboardScreen(station);
}

}  // namespace qov::fiscal
