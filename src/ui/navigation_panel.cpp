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
        case 1: return entry == 3 ? QStyle::SP_FileDialogDetailedView : QStyle::SP_FileIcon;
        case 2:
            switch (entry) {
                case 1: return QStyle::SP_DriveNetIcon;
                case 2: return QStyle::SP_DialogApplyButton;
                case 4: return QStyle::SP_ArrowUp;
                case 5: return QStyle::SP_ArrowDown;
                case 6:
                case 7: return QStyle::SP_DriveHDIcon;
                case 8: return QStyle::SP_ComputerIcon;
                default: return QStyle::SP_FileDialogContentsView;
            }
        default: return QStyle::SP_FileDialogInfoView;
    }
}

}  // namespace

NavigationPanel::NavigationPanel(QWidget* parent) : QGroupBox("Meni", parent) {
    setObjectName("navigationPanel");
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
        connect(button, &QToolButton::clicked, this, [this, group, entry] {
            emit entryChosen(group, entry);
        });
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
