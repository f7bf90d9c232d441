// The memory dump screens: a thin widget over MemoryDump.
#include "dumps/dump_screen.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <vector>

#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::dumps {

namespace {

// A block as "prvi" and "sledeci" show it: address, blank, 16 groups, blank.
constexpr int kShownBlockWidth = 55;
// While a whole read runs, Text1 and the bar are repainted at most this often.
constexpr int kRepaintMs = 40;

std::vector<ToolbarKey> KeysOf(MemoryKind kind) {
    if (kind == MemoryKind::Fiscal) {
        return {
            {"prvi", "Prvi", "Citalje prvog bloka fiskalne memorije", QStyle::SP_MediaSkipBackward},
            {"sledeci", "Sledeci", "Citalje sledeceg bloka fiskalne memorije",
             QStyle::SP_MediaSeekForward},
            {"sve", "Sve", "Citalje cele fiskalne memorije", QStyle::SP_DialogSaveButton},
            {"esci", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}};
    }
    return {
        {"prvi", "Prvi", "Citanje prvog bloka programske memorije", QStyle::SP_MediaSkipBackward},
        {"sve", "Sve", "Citanje programske memorije", QStyle::SP_DialogSaveButton},
        {"esci", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}};
}

}  // namespace

DumpScreen::DumpScreen(Station& station, MemoryKind kind,
                       const std::filesystem::path& programFolder, QWidget* parent)
    : QWidget(parent), logic_(station, kind, programFolder) {
    const MemoryLayout& memory = logic_.layout();
    setObjectName(memory.formName);
    setWindowTitle(memory.caption);
    setWindowIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));

    toolbar_ =
        MakeScreenToolbar(this, KeysOf(kind), [this](const std::string& key) { pressKey(key); });
    toolbar_->setObjectName("Toolbar2");

    text_ = new QTextEdit(this);
    text_->setObjectName("Text1");
    text_->setReadOnly(true);
    text_->setAcceptRichText(false);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // One shown block a line: the blank that ends a block is where the line breaks.
    text_->setLineWrapMode(QTextEdit::FixedColumnWidth);
    text_->setLineWrapColumnOrWidth(kShownBlockWidth);
    text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QString(kShownBlockWidth, 'W')) +
                           text_->verticalScrollBar()->sizeHint().width() + 16);

    auto* file = new QLabel(
        "Datoteka: " + QFile::decodeName(QByteArray::fromStdString(logic_.dumpFile().string())),
        this);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    file->setToolTip("Datoteka u koju se upisuje cela memorija");

    buttons_ = new QWidget(this);
    auto* buttonRow = new QHBoxLayout(buttons_);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    const auto addButton = [&](const char* name, const char* caption, const char* key) {
        auto* button = new QPushButton(caption, buttons_);
        button->setObjectName(name);
        const std::string pressed = key;
        connect(button, &QPushButton::clicked, this, [this, pressed] { pressKey(pressed); });
        buttonRow->addWidget(button);
    };
    addButton("Start", "Citaj Prvi Blok", "prvi");
    if (memory.hasNext) {
        addButton("Command1", "Citaj Sledeci", "sledeci");
    }
    addButton("Command2", "Citaj Sve", "sve");
    buttonRow->addStretch(1);

    // Blocks read of the memory, and "Prekini", enabled while a whole read runs.
    auto* progressRow = new QHBoxLayout;
    bar_ = new QProgressBar(this);
    bar_->setObjectName("Progress");
    bar_->setRange(0, memory.blocks);
    bar_->setValue(0);
    bar_->setFormat("%v / %m");
    stop_ = new QPushButton(style()->standardIcon(QStyle::SP_BrowserStop), "Prekini", this);
    stop_->setObjectName("Prekini");
    stop_->setToolTip("Prekid citanja posle bloka koji se upravo cita");
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, [this] { logic_.cancel(); });
    progressRow->addWidget(bar_, 1);
    progressRow->addWidget(stop_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(toolbar_);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 2, 10, 0);
    body->addWidget(file);
    body->addWidget(text_, 1);
    body->addWidget(buttons_);
    body->addLayout(progressRow);
    layout->addLayout(body, 1);

    logic_.progress().changed = [this] {
        // Always when a read starts or ends, so that "Prekini" is enabled at once.
        if (!logic_.running() || !shownRunning_ || shown_.elapsed() >= kRepaintMs) {
            showState();
        }
    };
    logic_.open();
    showState();
}

QSize DumpScreen::sizeHint() const {
    return {text_->minimumWidth() + 20, 420};
}

QString DumpScreen::shownText() const {
    return text_->toPlainText();
}

void DumpScreen::pressKey(const std::string& key) {
    if (logic_.running()) {
        return;
    }
    if (key == "esci") {
        closing_ = true;
    }
    toolbar_->setEnabled(false);
    buttons_->setEnabled(false);
    const bool closes = logic_.onToolbar(key);
    toolbar_->setEnabled(true);
    buttons_->setEnabled(true);
    showState();
    if (closes || closePending_) {
        closing_ = true;
        CloseScreenWindow(this);
    }
}

void DumpScreen::closeEvent(QCloseEvent* event) {
    if (logic_.running()) {
        // The read stops after the block in flight; the screen closes then.
        logic_.cancel();
        closePending_ = true;
        event->ignore();
        return;
    }
    if (!closing_) {
        logic_.esci();  // the window's close box does what "Izlaz" does
    }
    QWidget::closeEvent(event);
}

void DumpScreen::showState() {
    const QString text = ToScreen(logic_.text());
    if (text_->toPlainText() != text) {
        text_->setPlainText(text);
        text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
    }
    bar_->setValue(logic_.progress().done());
    shownRunning_ = logic_.running();
    stop_->setEnabled(shownRunning_);
    shown_.start();
}

QWidget* CreateDumpScreen(Station& station, MemoryKind kind,
                          const std::filesystem::path& programFolder, QWidget* parent) {
    return new DumpScreen(station, kind, programFolder, parent);
}

}  // namespace qov::dumps
