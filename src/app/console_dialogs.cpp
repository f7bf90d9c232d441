#include "app/console_dialogs.h"

#include <ostream>

namespace qov {

Answer ConsoleDialogs::show(const MessageBox& box) {
    // One line per box: line breaks inside the text become blanks, trailing ones go.
    std::string text = box.text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    err_ << box.title << ": " << text << std::endl;

    switch (box.buttons) {
        case Buttons::RetryCancel:
            if (retriesLeft_ > 0) {
                --retriesLeft_;
                return Answer::Retry;
            }
            return Answer::Cancel;
        case Buttons::YesNo:
            return yes_ ? Answer::Yes : Answer::No;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

}  // namespace qov
