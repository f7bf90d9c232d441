#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "ui/main_logic.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace qov {

class NavigationPanel;

// Makes the widget of a navigation entry's screen. The widget should also derive from
// Screen so that the main window can ask it to reload, re-font or adapt its line width.
using ScreenFactory = std::function<QWidget*()>;

// The main window: a multiple-document frame with the navigation panel "Meni" at its
// left, the menu bar and the right-click menu. The rules are MainLogic's.
class MainWindow : public QMainWindow, public MainView {
    Q_OBJECT
public:
    MainWindow(Station& station, Desktop& desktop, const std::string& appFolder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The screen that a navigation entry opens. Entries without a factory open nothing.
    // "Konekcija" (group 2, entry 1) is registered by the window itself.
    void registerScreen(int group, int entry, ScreenFactory factory);

    // The picture screen of the logo, made with its file choice: the factory behind
    // "Otvori logo..." in "Datoteke".
    void registerLogoPicture(ScreenFactory factory);

    // What "Rezervna kopija kase..." in "Datoteke" runs.
    void registerBackup(std::function<void()> backup);

    // Opens a screen outside the navigation, beside the screen `beside` (or, without one,
    // beside the panel); its window joins the open-windows list. The new window's id.
    int openBeside(QWidget* widget, QWidget* beside);

    // Runs the main window's loading steps and applies the stored state and placement.
    void load(const cIniFile* settings);

    MainLogic& logic() { return logic_; }
    NavigationPanel* panel() const { return panel_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QMenu* fileMenu() const { return fileMenu_; }

    // MainView
    int openScreen(int group, int entry) override;
    void closeWindow(int id) override;
    Screen* findScreen(const std::string& formName) override;
    void menusChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    int addScreen(QWidget* widget, const QPoint& where);
    void rebuildLinkMenus();
    void layoutClient();
    void tile(Qt::Orientation orientation);
    void arrangeIcons();
    void fillWindowList();
    void showAbout();
    void print();
    WindowPlacement currentPlacement() const;

    class ClientArea;

    Station& station_;
    MainLogic logic_;
    ClientArea* client_ = nullptr;
    NavigationPanel* panel_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* windowListMenu_ = nullptr;
    std::array<QMenu*, 3> linkMenus_{};
    QAction* nova_ = nullptr;
    QAction* otvori_ = nullptr;
    QAction* sacuvaj_ = nullptr;
    QAction* sacuvajPod_ = nullptr;
    QAction* zatvori_ = nullptr;
    QAction* sirina32_ = nullptr;
    QAction* cirilica_ = nullptr;
    std::map<std::pair<int, int>, ScreenFactory> factories_;
    ScreenFactory logoPicture_;
    std::function<void()> backup_;
    std::map<int, QMdiSubWindow*> screens_;
    int nextId_ = MainLogic::kPanelId + 1;
    bool unloaded_ = false;
};

}  // namespace qov
