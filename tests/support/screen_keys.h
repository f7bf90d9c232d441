#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QToolBar>
#include <QWidget>

namespace qov::test {

// Presses the toolbar key `key` of a screen widget, as a click on its button would.
inline void PressToolbarKey(QWidget* screen, const char* key) {
    for (QAction* action : screen->findChild<QToolBar*>()->actions()) {
        if (action->data().toString() == key) {
            return action->trigger();
        }
    }
    FAIL() << "no toolbar key " << key;
}

}  // namespace qov::test
