#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <filesystem>
#include <string>

#include "dumps/memory_dump.h"
#include "ui/screen.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QToolBar;

namespace qov::dumps {

// "Fiskalna memorija" and "Programska memorija": Text1 with the blocks read, the toolbar and
// buttons of the first, next and whole read, the progress of a whole read and "Prekini".
class DumpScreen : public QWidget, public Screen {
public:
    DumpScreen(Station& station, MemoryKind kind, const std::filesystem::path& programFolder,
               QWidget* parent = nullptr);

    std::string formName() const override { return "ne"; }
    QSize sizeHint() const override;

    MemoryDump& logic() { return logic_; }
    QString shownText() const;

    // A toolbar key or its button: "prvi", "sledeci", "sve", "esci".
    void pressKey(const std::string& key);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showState();

    MemoryDump logic_;
    QToolBar* toolbar_;
    QTextEdit* text_;
    QWidget* buttons_;
    QProgressBar* bar_;
    QPushButton* stop_;
    QElapsedTimer shown_;        // since the state was last shown
    bool shownRunning_ = false;  // whether it was shown as running
    bool closing_ = false;       // "esci" or the window's close box
    bool closePending_ = false;  // asked to close while a read runs
};

// The screens of "Citanje Fiskalne Memorije" and "Citanje Programa"; the dump files go into
// `programFolder`.
QWidget* CreateDumpScreen(Station& station, MemoryKind kind,
                          const std::filesystem::path& programFolder, QWidget* parent = nullptr);

}  // namespace qov::dumps
