#include "fiscal/keyboard.h"

#include <algorithm>

#include "link/comline.h"

namespace qov::fiscal {

namespace {

std::string UpToNul(std::string line) {
    line.resize(std::min(line.size(), line.find('\0')));
    return line;
}

bool SameLines(const DisplayLines& a, const DisplayLines& b) {
    return a.operator1 == b.operator1 && a.operator2 == b.operator2 && a.customer == b.customer;
}

// Marks an exchange as running for as long as it lives.
class Exchange {
public:
    explicit Exchange(bool& flag) : flag_(flag) { flag_ = true; }
    ~Exchange() { flag_ = false; }
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

private:
    bool& flag_;
};

}  // namespace

const KeyboardKey* FindKeyboardKey(std::string_view name) {
    const auto it = std::find_if(kKeyboardKeys.begin(), kKeyboardKeys.end(),
                                 [name](const KeyboardKey& k) { return name == k.name; });
    return it == kKeyboardKeys.end() ? nullptr : &*it;
}

DisplayLines ShownDisplay(DisplayLines lines) {
    return {UpToNul(std::move(lines.operator1)), UpToNul(std::move(lines.operator2)),
            UpToNul(std::move(lines.customer))};
}

Keyboard::Keyboard(Station& station) : st_(station) {}

void Keyboard::open() {
    st_.state.CurrentForm = kFormName;
    const int index = SpeedIndexOf(st_.state.BaudRate);
    if (index >= 0) {
        st_.state.SpeedIndex = index;
    }
}

bool Keyboard::press(std::string_view name) {
    const KeyboardKey* key = FindKeyboardKey(name);
    if (key == nullptr || exchanging_) {
        return false;
    }
    timerInterval_ = kPollInterval;
    {
        Exchange exchange(exchanging_);
        st_.dialogs.setBusy(true);
        PressKeyMD(st_.link, key->code);  // the result stays in LinkResult
        st_.dialogs.setBusy(false);
    }
    if (name == "subtotal") {
        CheckForSpeed(st_, display_.operator1, st_.state.SpeedIndex);
    }
    return true;
}

bool Keyboard::poll() {
    if (exchanging_ || timerInterval_ == 0 || closeRequested_) {
        return false;
    }
    int n = 0;
    DisplayLines lines;
    {
        Exchange exchange(exchanging_);
        n = PollDisplay(st_.link, lines, kDisplayWait);
    }
    if (n > 0) {
        lines = ShownDisplay(std::move(lines));
        if (SameLines(lines, display_)) {
            return false;
        }
        display_ = std::move(lines);
        return true;
    }
    st_.dialogs.message(kLinkLost, kTitle, Icon::Critical);
    timerInterval_ = 0;
    closeRequested_ = true;
    return false;
}

void Keyboard::cancel() {
    timerInterval_ = 0;
    closeRequested_ = true;
}

}  // namespace qov::fiscal
