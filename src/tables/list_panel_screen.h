// One widget for the small-table editors: a keyed toolbar, a titled list on the left (with an
// optional "Check1" box under it) and an edit panel on the right, all driven by the editor
// logic through the callbacks of a ListPanelDescription.
#pragma once

#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/screen.h"
#include "widgets/screen_toolbar.h"

class QCheckBox;
class QGroupBox;
class QListWidget;

namespace qov::tables {

// One row of the edit panel: a line edit over `text`, or a check box over `flag`.
struct ListPanelField {
    const char* label;
    const char* objectName = "";  // "": none
    const char* tip = "";         // "": none
    int maxLength = 0;            // 0: QLineEdit's own limit
    std::string* text = nullptr;
    bool* flag = nullptr;
    // Enter in the field: the fields go to the logic, this runs, everything is shown again.
    std::function<void()> onEnter = nullptr;
    // The focus leaves the field: its text goes to the logic and this runs.
    std::function<void()> onLeave = nullptr;
    // A line edit takes the font of the script, as the list does.
    bool scriptFont = true;
};

struct ListPanelDescription {
    std::string objectName;  // the widget's
    std::string formName;    // written into CurrentForm by the logic
    std::string caption;
    std::vector<ToolbarKey> keys;
    std::string listHeading;
    int listMinWidth = 240;
    std::string panelTitle;
    std::vector<ListPanelField> fields;
    QSize sizeHint;

    // The box under the list; no caption: no box.
    const char* check1Caption = nullptr;
    const char* check1Name = "";  // "": none
    // Enter on a list line opens it (besides a click and a double click).
    bool enterOpensLine = true;
    // A right click on a line opens it too.
    bool rightClickOpensLine = false;

    // The logic.
    std::function<void()> open = nullptr;
    std::function<void()> close = nullptr;
    std::function<void()> changeLanguage = nullptr;
    std::function<void()> reload = nullptr;
    std::function<const std::vector<std::string>&()> lines = nullptr;
    std::function<int()> selected = nullptr;
    std::function<bool()> panelVisible = nullptr;
    std::function<const std::string&()> fontName = nullptr;
    std::function<bool()> check1 = nullptr;
    std::function<void(bool)> setCheck1 = nullptr;
    // Returns true when the screen closes.
    std::function<bool(const std::string&)> onToolbar = nullptr;
    std::function<void(int)> selectLine = nullptr;
    // Esc in the list; none: Esc goes on as usual.
    std::function<void()> escapeInList = nullptr;
    // Keeps the logic alive as long as the screen.
    std::shared_ptr<void> logic;
};

// Fills the logic callbacks every small-table editor has alike and hands it to the screen.
template <class Editor>
void BindEditor(ListPanelDescription& d, std::shared_ptr<Editor> editor) {
    Editor* e = editor.get();
    d.open = [e] { e->open(); };
    d.close = [e] { e->close(); };
    d.changeLanguage = [e] { e->DoChangeLang(); };
    d.reload = [e] { e->reload(); };
    d.lines = [e]() -> const std::vector<std::string>& { return e->lines(); };
    d.selected = [e] { return e->selected(); };
    d.panelVisible = [e] { return e->panelVisible(); };
    d.fontName = [e]() -> const std::string& { return e->fontName(); };
    if constexpr (requires { e->setCheck1(true); }) {
        d.check1 = [e] { return e->check1(); };
        d.setCheck1 = [e](bool checked) { e->setCheck1(checked); };
    }
    d.onToolbar = [e](const std::string& key) { return e->onToolbar(key); };
    d.selectLine = [e](int row) { e->selectLine(row); };
    d.logic = std::move(editor);
}

class ListPanelScreen : public QWidget, public Screen {
public:
    ListPanelScreen(ListPanelDescription description, QWidget* parent);

    QSize sizeHint() const override { return d_.sizeHint; }
    std::string formName() const override { return d_.formName; }
    void changeLanguage() override;
    void reloadFromTables() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onKey(const std::string& key);
    void onLine(int row);
    // The panel's fields into the logic, and everything from the logic onto the screen.
    void takeFields();
    void showAll();

    ListPanelDescription d_;
    bool showing_ = false;
    QListWidget* list_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QGroupBox* panel_ = nullptr;
    std::vector<QWidget*> fields_;  // QLineEdit or QCheckBox, one per d_.fields entry
};

}  // namespace qov::tables
