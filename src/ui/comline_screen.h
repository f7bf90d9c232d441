#pragma once

#include <QWidget>
#include <memory>

#include "link/comline.h"
#include "ui/screen.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolBar;

namespace qov {

// The "Komunikacija" screen: the controls of ComLine and its toolbar.
class ComLineScreen : public QWidget, public Screen {
    Q_OBJECT
public:
    explicit ComLineScreen(Station& station, QWidget* parent = nullptr);

    std::string formName() const override { return ComLine::kFormName; }
    void reloadFromTables() override;

    ComLine& logic() { return logic_; }

    // Runs the toolbar action with this key ("Salva", "Annulla", "Connect", "Disconnect").
    void pressToolbar(const std::string& key);

private:
    void showFields();
    void takeFields();

    Station& station_;
    ComLine logic_;
    QToolBar* toolbar_;
    QComboBox* port_;
    QComboBox* speed_;
    QCheckBox* tone_;
    QLineEdit* phone_;
    QLineEdit* password_;
};

}  // namespace qov
