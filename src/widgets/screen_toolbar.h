#pragma once

#include <QStyle>

#include <functional>
#include <string>
#include <vector>

class QToolBar;
class QWidget;

namespace qov {

// One keyed toolbar button of a screen: the key its handler dispatches on, the caption
// shown under the icon, the tooltip.
struct ToolbarKey {
    const char* key;
    const char* caption;
    const char* tip;
    QStyle::StandardPixmap icon;
};

// A screen's toolbar: one button per key, captions under the icons; pressing a button calls
// `onKey` with its key. The action of each button carries its key as object name and data.
QToolBar* MakeScreenToolbar(QWidget* screen, const std::vector<ToolbarKey>& keys,
                            std::function<void(const std::string&)> onKey);

// Closes the child window of the main window that holds `screen` (or the screen itself
// when it stands alone).
void CloseScreenWindow(QWidget* screen);

}  // namespace qov
