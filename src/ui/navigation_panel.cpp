#include "ui/navigation_panel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/main_logic.h"

namespace qov {

namespace {

QStyle::StandardPixmap EntryIcon(int group, int entry) {
    switch (group) {
        case 1:
            return entry == 3 ? QStyle::SP_FileDialogDetailedView : QStyle::SP_FileIcon;
        case 2:
            switch (entry) {
                case 1:
                    return QStyle::SP_DriveNetIcon;
                case 2:
                    return QStyle::SP_DialogApplyButton;
                case 4:
                    return QStyle::SP_ArrowUp;
                case 5:
                    return QStyle::SP_ArrowDown;
                case 6:
                case 7:
                    return QStyle::SP_DriveHDIcon;
                case 8:
                    return QStyle::SP_ComputerIcon;
                case 9:
                    return QStyle::SP_FileDialogListView;
                default:
                    return QStyle::SP_FileDialogContentsView;
            }
        default:
            return QStyle::SP_FileDialogInfoView;
    }
}

}  // namespace

NavigationPanel::NavigationPanel(QWidget* parent) : QGroupBox("Meni", parent) {
    setObjectName("navigationPanel");
    setStyleSheet(
        "QGroupBox#navigationPanel { font-weight: bold; border: 1px solid #98a6b6;"
        " border-radius: 4px; margin-top: 14px; background: #f4f6f9; }"
        "QGroupBox#navigationPanel::title { subcontrol-origin: margin; left: 8px;"
        " padding: 0 4px; color: #1f3a5f; }"
        "QToolBox::tab { font-weight: bold; color: #1f3a5f; border: 1px solid #a9b6c5;"
        " border-radius: 3px; padding-left: 6px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfd, stop:1 #dfe6ee); }"
        "QToolBox::tab:selected { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #e8eef6, stop:1 #c3d2e4); }"
        "QToolBox > QScrollArea > QWidget > QWidget { background: #f4f6f9; }"
        "QToolButton { font-weight: normal; border: 1px solid transparent; border-radius: 3px;"
        " padding: 2px 4px; text-align: left; }"
        "QToolButton:hover { background: #dce6f2; border-color: #a9bdd6; }"
        "QToolButton:pressed { background: #c3d4ea; }");
    groups_ = new QToolBox(this);
    groups_->setObjectName("navigationGroups");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 6, 4, 4);
    layout->addWidget(groups_);

    std::array<QVBoxLayout*, kNavigationGroups.size()> pages{};
    for (std::size_t g = 0; g < kNavigationGroups.size(); ++g) {
        auto* page = new QWidget;
        page->setObjectName(QString("navigationGroup%1").arg(g + 1));
        pages[g] = new QVBoxLayout(page);
        pages[g]->setContentsMargins(2, 2, 2, 2);
        pages[g]->setSpacing(1);
        groups_->addItem(page, QString::fromLatin1(kNavigationGroups[g]));
    }
    for (const NavigationEntry& e : kNavigationEntries) {
        auto* button = new QToolButton;
        button->setObjectName(QString("nav_%1_%2").arg(e.group).arg(e.entry));
        button->setText(QString::fromLatin1(e.caption));
        button->setIcon(style()->standardIcon(EntryIcon(e.group, e.entry)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setIconSize(QSize(20, 20));
        button->setMinimumHeight(28);
        const int group = e.group;
        const int entry = e.entry;
        connect(button, &QToolButton::clicked, this,
                [this, group, entry] { emit entryChosen(group, entry); });
        pages[static_cast<std::size_t>(e.group - 1)]->addWidget(button);
    }
    for (QVBoxLayout* page : pages) {
        page->addStretch(1);
    }
}

QToolButton* NavigationPanel::entryButton(int group, int entry) const {
    return findChild<QToolButton*>(QString("nav_%1_%2").arg(group).arg(entry));
}

QSize NavigationPanel::sizeHint() const {
    // As wide as the longest entry with its icon, plus the frame.
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const NavigationEntry& e : kNavigationEntries) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(e.caption)));
    }
    return QSize(widest + 72, QGroupBox::sizeHint().height());
}

}  // namespace qov
