#pragma once

#include "app/dialogs.h"

class QWidget;

namespace qov {

// Dialogs on screen: QMessageBox and QFileDialog, texts as Latin-1.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer show(const MessageBox& box) override;
    std::string openFile(const FileDialog& dialog) override;
    std::string saveFile(const FileDialog& dialog) override;
    std::string chooseFolder(const FileDialog& dialog) override;
    void setBusy(bool busy) override;
    void yield() override;

private:
    QWidget* parent_;
    bool busy_ = false;
};

}  // namespace qov
