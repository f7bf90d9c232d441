#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

#include "ui/about_box.h"
#include "ui/comline_screen.h"
#include "ui/navigation_panel.h"

namespace qov {

namespace {

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The window's client area: the panel at its top-left corner, sized to its menu, and the
// screens' area beside it. Every resize puts the panel back.
class MainWindow::ClientArea : public QWidget {
public:
    explicit ClientArea(MainWindow* window) : QWidget(window), window_(window) {}

protected:
    void resizeEvent(QResizeEvent*) override { window_->layoutClient(); }

private:
    MainWindow* window_;
};

MainWindow::MainWindow(Station& station, Desktop& desktop, const std::string& appFolder,
                       QWidget* parent)
    : QMainWindow(parent), station_(station), logic_(station, desktop, *this, appFolder) {
    setObjectName("frmMain");
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    setMinimumSize(800, 560);

    client_ = new ClientArea(this);
    setCentralWidget(client_);
    panel_ = new NavigationPanel(client_);
    mdi_ = new QMdiArea(client_);
    mdi_->setObjectName("mdiArea");
    mdi_->setBackground(QColor(0x6d, 0x83, 0x9c));
    mdi_->viewport()->installEventFilter(this);
    connect(panel_, &NavigationPanel::entryChosen, this,
            [this](int group, int entry) { logic_.chooseEntry(group, entry); });

    buildMenus();
    statusBar()->showMessage("Arvon Cash Registers");

    registerScreen(2, 1, [this] { return new ComLineScreen(station_); });
}

MainWindow::~MainWindow() {
    // Screens are closed before the logic they report to goes away.
    for (auto& [id, sub] : screens_) {
        sub->disconnect(this);
    }
}

void MainWindow::registerScreen(int group, int entry, ScreenFactory factory) {
    factories_[{group, entry}] = std::move(factory);
}

void MainWindow::registerLogoPicture(ScreenFactory factory) {
    logoPicture_ = std::move(factory);
}

void MainWindow::registerBackup(std::function<void()> backup) {
    backup_ = std::move(backup);
}

int MainWindow::openBeside(QWidget* widget, QWidget* beside) {
    if (widget == nullptr) {
        return 0;
    }
    QPoint where(0, 0);
    if (beside != nullptr) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(beside->parentWidget())) {
            where = QPoint(sub->geometry().right() + 1, sub->y());
        }
    }
    const int id = addScreen(widget, where);
    logic_.windowOpened(id);
    return id;
}

void MainWindow::load(const cIniFile* settings) {
    const WindowPlacement placement = logic_.load(settings);
    setWindowTitle(latin1(logic_.caption()));
    if (placement.applyGeometry) {
        move(placement.left / kTwipsPerPixel, placement.top / kTwipsPerPixel);
        resize(placement.width / kTwipsPerPixel, placement.height / kTwipsPerPixel);
        // A place stored on a screen that is no longer there would hide the window.
        if (QGuiApplication::screenAt(pos() + QPoint(20, 20)) == nullptr) {
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                move(screen->availableGeometry().topLeft() + QPoint(40, 40));
            }
        }
    }
    switch (placement.state) {
        case 1:
            setWindowState(Qt::WindowMinimized);
            break;
        case 2:
            setWindowState(Qt::WindowMaximized);
            break;
        default:
            setWindowState(Qt::WindowNoState);
            break;
    }
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();

    fileMenu_ = bar->addMenu("&Datoteke");
    fileMenu_->setObjectName("mnuFile");
    nova_ = fileMenu_->addAction("&Nova");
    nova_->setObjectName("mnuNova");
    otvori_ = fileMenu_->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), "&Otvori",
                                   this, [this] { logic_.otvori(); });
    otvori_->setObjectName("mnuOtvori");
    otvori_->setShortcut(QKeySequence::Open);
    sacuvaj_ = fileMenu_->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "&Sacuvaj",
                                    this, [this] { logic_.sacuvaj(); });
    sacuvaj_->setObjectName("mnuSacuvaj");
    sacuvaj_->setShortcut(QKeySequence::Save);
    sacuvajPod_ =
        fileMenu_->addAction("Sacuvaj Pod Imenom", this, [this] { logic_.sacuvajPodImenom(); });
    sacuvajPod_->setObjectName("mnuSacuvajPod");
    zatvori_ = fileMenu_->addAction("&Zatvori", this, [this] { logic_.zatvori(); });
    zatvori_->setObjectName("mnuZatvori");
    zatvori_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    QAction* otvoriLogo = fileMenu_->addAction("Otvori logo...", this, [this] {
        if (logoPicture_) {
            openBeside(logoPicture_(), nullptr);
        }
    });
    otvoriLogo->setObjectName("mnuOtvoriLogo");
    QAction* backup = fileMenu_->addAction("Rezervna kopija kase...", this, [this] {
        if (backup_) {
            backup_();
        }
    });
    backup->setObjectName("mnuBackup");
    fileMenu_->addSeparator();
    sirina32_ = fileMenu_->addAction("Sirina 32", this, [this] { logic_.toggleLineWidth(); });
    sirina32_->setObjectName("mnuSirina32");
    sirina32_->setCheckable(true);
    QAction* stampa = fileMenu_->addAction("Stampa", this, [this] { print(); });
    stampa->setObjectName("mnuStampa");
    cirilica_ = fileMenu_->addAction("Cirilica", this, [this] { logic_.toggleCyrillic(); });
    cirilica_->setObjectName("mnuCirilica");
    cirilica_->setCheckable(true);
    QAction* veza =
        fileMenu_->addAction("Veza po postavci", this, [this] { logic_.sendDefaultConnection(); });
    veza->setObjectName("mnuVeza");
    fileMenu_->addSeparator();
    QAction* izlaz = fileMenu_->addAction("&Izlaz", this, [this] { close(); });
    izlaz->setObjectName("mnuIzlaz");

    QMenu* arrange = bar->addMenu("Raspored");
    arrange->setObjectName("mnuWindow");
    windowListMenu_ = arrange->addMenu("Aktivni prozori...");
    windowListMenu_->setObjectName("mnuActiveWindows");
    connect(windowListMenu_, &QMenu::aboutToShow, this, [this] { fillWindowList(); });
    arrange->addSeparator();
    arrange->addAction("Kaskadno", mdi_, &QMdiArea::cascadeSubWindows)->setObjectName("mnuCascade");
    arrange->addAction("Po Horizontali", this, [this] { tile(Qt::Horizontal); })
        ->setObjectName("mnuTileH");
    arrange->addAction("Po Vertikali", this, [this] { tile(Qt::Vertical); })
        ->setObjectName("mnuTileV");
    arrange->addAction("Rasporedi ikonice", this, [this] { arrangeIcons(); })
        ->setObjectName("mnuArrange");

    QMenu* help = bar->addMenu("Pomoc");
    help->setObjectName("mnuHelp");
    help->addAction(style()->standardIcon(QStyle::SP_DialogHelpButton), "Sadrzaj", this,
                    [this] { logic_.helpContents(); })
        ->setObjectName("mnuSadrzaj");
    help->addAction("Pomoc potrazi na ...", this, [this] { logic_.helpSearch(); })
        ->setObjectName("mnuPomocPotrazi");
    help->addSeparator();
    // Menu order: user guides, government documents, the internet.
    for (LinkMenuKind kind :
         {LinkMenuKind::UserGuides, LinkMenuKind::Government, LinkMenuKind::Internet}) {
        const auto k = static_cast<std::size_t>(kind);
        linkMenus_[k] = help->addMenu(QString::fromLatin1(kLinkMenuCaptions[k]));
        linkMenus_[k]->setObjectName(QString("mnuLinks_") + kLinkMenuPrefixes[k]);
    }
    help->addSeparator();
    help->addAction("Instalacija Cirilicnih Fontova...", this, [this] { logic_.askFontInstall(); })
        ->setObjectName("mnuFonts");
    help->addSeparator();
    help->addAction("O programu...", this, [this] { showAbout(); })->setObjectName("mnuAbout");

    rebuildLinkMenus();
    menusChanged();
}

void MainWindow::rebuildLinkMenus() {
    for (std::size_t k = 0; k < linkMenus_.size(); ++k) {
        QMenu* menu = linkMenus_[k];
        menu->clear();
        const auto kind = static_cast<LinkMenuKind>(k);
        const auto& entries = logic_.linkMenu(kind);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            QAction* action = menu->addAction(latin1(entries[i].caption), this,
                                              [this, kind, i] { logic_.chooseLink(kind, i); });
            action->setData(entries[i].number);
            if (!entries[i].url.empty()) {
                action->setToolTip(latin1(entries[i].url));
            }
        }
    }
}

void MainWindow::menusChanged() {
    const ProgramFileMenu& m = logic_.fileMenu();
    nova_->setEnabled(m.newEnabled);
    otvori_->setEnabled(m.openEnabled);
    sacuvaj_->setEnabled(m.saveEnabled);
    sacuvajPod_->setEnabled(m.saveAsEnabled);
    zatvori_->setEnabled(m.closeEnabled);
    cirilica_->setChecked(m.cyrillicChecked);
    sirina32_->setChecked(m.width32Checked);
    rebuildLinkMenus();
}

void MainWindow::layoutClient() {
    const QRect area = client_->rect();
    int left = 0;
    if (!panel_->isHidden()) {
        const int width = std::min(panel_->sizeHint().width(), area.width());
        panel_->setGeometry(0, 0, width, area.height());
        left = width;
    }
    mdi_->setGeometry(left, 0, std::max(0, area.width() - left), area.height());
}

int MainWindow::openScreen(int group, int entry) {
    const auto it = factories_.find({group, entry});
    if (it == factories_.end() || !it->second) {
        return 0;
    }
    // Beside the panel: the top-left corner of the screens' area.
    return addScreen(it->second(), QPoint(0, 0));
}

int MainWindow::addScreen(QWidget* widget, const QPoint& where) {
    if (widget == nullptr) {
        return 0;
    }
    auto* sub = mdi_->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(widget->windowIcon());
    const int id = nextId_++;
    screens_[id] = sub;
    connect(sub, &QObject::destroyed, this, [this, id] {
        screens_.erase(id);
        logic_.windowClosed(id);
    });
    sub->move(where);
    sub->show();
    sub->setFocus();
    return id;
}

void MainWindow::closeWindow(int id) {
    if (id == MainLogic::kPanelId) {
        panel_->hide();
        layoutClient();
        return;
    }
    const auto it = screens_.find(id);
    if (it != screens_.end()) {
        QMdiSubWindow* sub = it->second;
        screens_.erase(it);
        sub->disconnect(this);
        sub->close();
    }
}

Screen* MainWindow::findScreen(const std::string& formName) {
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (auto* screen = dynamic_cast<Screen*>(sub->widget())) {
            if (screen->formName() == formName) {
                return screen;
            }
        }
    }
    return nullptr;
}

void MainWindow::tile(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (sub->isVisible() && !sub->isMinimized()) {
            windows << sub;
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal) {
            // One above the other, each the full width.
            const int h = area.height() / n;
            windows[i]->setGeometry(0, i * h, area.width(), h);
        } else {
            // Side by side, each the full height.
            const int w = area.width() / n;
            windows[i]->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void MainWindow::arrangeIcons() {
    // Minimised screens in a row along the bottom edge.
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (sub->isMinimized()) {
            const QSize size = sub->size();
            if (x + size.width() > area.width() && x > 0) {
                x = 0;
            }
            sub->move(x, area.height() - size.height());
            x += size.width();
        }
    }
}

void MainWindow::fillWindowList() {
    windowListMenu_->clear();
    const auto windows = mdi_->subWindowList();
    if (windows.isEmpty()) {
        windowListMenu_->addAction(QString::fromLatin1(kNoLinks))->setEnabled(false);
        return;
    }
    int n = 1;
    for (QMdiSubWindow* sub : windows) {
        QAction* action =
            windowListMenu_->addAction(QString("&%1 %2").arg(n++).arg(sub->windowTitle()), this,
                                       [this, sub] { mdi_->setActiveSubWindow(sub); });
        action->setCheckable(true);
        action->setChecked(sub == mdi_->activeSubWindow());
    }
}

void MainWindow::showAbout() {
    AboutBox box(logic_, this);
    box.exec();
}

void MainWindow::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Print");
    dialog.exec();
}

WindowPlacement MainWindow::currentPlacement() const {
    WindowPlacement p;
    p.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    p.left = x() * kTwipsPerPixel;
    p.top = y() * kTwipsPerPixel;
    p.width = width() * kTwipsPerPixel;
    p.height = height() * kTwipsPerPixel;
    return p;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        logic_.unload(currentPlacement());
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdi_->viewport() && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        // Only the free area: the screens' own right clicks stay theirs.
        if (mdi_->viewport()->childAt(menuEvent->pos()) == nullptr) {
            fileMenu_->popup(menuEvent->globalPos());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace qov
