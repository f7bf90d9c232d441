#pragma once

#include <QGroupBox>

class QToolBox;
class QToolButton;

namespace qov {

// The navigation panel "Meni": three groups of entries; choosing an entry emits
// entryChosen(group, entry) with the group and the entry counted from 1.
class NavigationPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit NavigationPanel(QWidget* parent = nullptr);

    // The entry's button ("nav_<group>_<entry>"), or nullptr.
    QToolButton* entryButton(int group, int entry) const;

    QSize sizeHint() const override;

signals:
    void entryChosen(int group, int entry);

private:
    QToolBox* groups_;
};

}  // namespace qov
