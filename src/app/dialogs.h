#pragma once

#include <string>

namespace qov {

enum class Icon { None, Critical, Exclamation, Information };
enum class Buttons { Ok, RetryCancel, YesNo };
enum class Answer { Ok, Retry, Cancel, Yes, No };

// One message box as the program asks for it.
struct MessageBox {
    std::string text;
    std::string title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;  // the preselected button
    std::string helpFile;
    int helpContext = 0;
};

// An open or save file dialog. `filter` is written "Description|*.ext"; `folder` and
// `fileName` are file-system bytes, like the path a dialog returns.
struct FileDialog {
    std::string title;
    std::string folder;
    std::string filter;
    std::string fileName;  // the name the dialog starts with
};

// Everything a screen or procedure says to the user or asks of the window system.
// Texts are byte strings (Latin-1 on screen).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer show(const MessageBox& box) = 0;

    // The chosen file's full path in the file system's own bytes (what the file calls take),
    // or empty text when the user cancelled.
    virtual std::string openFile(const FileDialog& dialog) = 0;
    virtual std::string saveFile(const FileDialog& dialog) = 0;
    // A folder dialog (`title`, starting in `folder`): the chosen folder, or empty text when
    // the user cancelled (also where no dialog can be shown).
    virtual std::string chooseFolder(const FileDialog& /*dialog*/) { return {}; }

    // The busy (hourglass) pointer.
    virtual void setBusy(bool busy) = 0;

    // Lets the window system process its events (repaint, progress captions).
    virtual void yield() = 0;

    Answer message(const std::string& text, const std::string& title, Icon icon = Icon::None,
                   Buttons buttons = Buttons::Ok) {
        MessageBox box{text, title, icon, buttons, firstButton(buttons), {}, 0};
        return show(box);
    }

    static Answer firstButton(Buttons buttons) {
        switch (buttons) {
            case Buttons::RetryCancel: return Answer::Retry;
            case Buttons::YesNo: return Answer::Yes;
            case Buttons::Ok: break;
        }
        return Answer::Ok;
    }
};

// The title that most boxes carry.
inline constexpr const char* kTitle = "Arvon Cash Registers";

// The title of a box that names none: the program's name.
inline constexpr const char* kDefaultTitle = "QovCom";

// The line break inside message texts.
inline constexpr const char* kLineBreak = "\n";

}  // namespace qov
