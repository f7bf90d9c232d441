#include "widgets/screen_toolbar.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QWidget>

namespace qov {

QToolBar* MakeScreenToolbar(QWidget* screen, const std::vector<ToolbarKey>& keys,
                            std::function<void(const std::string&)> onKey) {
    auto* toolbar = new QToolBar(screen);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(24, 24));
    for (const ToolbarKey& k : keys) {
        QAction* action = toolbar->addAction(screen->style()->standardIcon(k.icon),
                                             QString::fromLatin1(k.caption));
        action->setObjectName(QString::fromLatin1(k.key));
        action->setData(QString::fromLatin1(k.key));
        if (k.tip != nullptr && *k.tip != '\0') {
            action->setToolTip(QString::fromLatin1(k.tip));
        }
        const std::string key = k.key;
        QObject::connect(action, &QAction::triggered, screen, [onKey, key] { onKey(key); });
    }
    return toolbar;
}

void CloseScreenWindow(QWidget* screen) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget())) {
        frame->close();
        return;
    }
    screen->close();
}

}  // namespace qov
