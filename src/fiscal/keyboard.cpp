#include "fiscal/keyboard.h"

#include <algorithm>

#include "link/comline.h"

namespace qov::fiscal {

namespace {

// Characters `first`..`last` (1-based) of `reply`, ended early by a NUL.
std::string Field(std::string_view reply, std::size_t first, std::size_t last) {
    if (reply.size() < first) {
        return {};
    }
    std::string_view field = reply.substr(first - 1, last - first + 1);
    field = field.substr(0, field.find('\0'));
    return std::string(field);
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

std::string KeyFrame(std::string_view code) {
    return "m01" + std::string(code);
}

DisplayLines SplitDisplay(std::string_view reply) {
    return {Field(reply, 1, 16), Field(reply, 18, 33), Field(reply, 35, 50)};
}

int& KeyboardSpeedIndex() {
    static int index = 0;
    return index;
}

Keyboard::Keyboard(Station& station) : st_(station) {}

void Keyboard::open() {
    st_.state.CurrentForm = kFormName;
    const int index = SpeedIndexOf(st_.state.BaudRate);
    if (index >= 0) {
        KeyboardSpeedIndex() = index;
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
        st_.link.sendFrameMD(KeyFrame(key->code));  // the result stays in LinkResult
        st_.dialogs.setBusy(false);
    }
    if (name == "subtotal") {
        CheckForSpeed(st_, display_.user1, KeyboardSpeedIndex());
    }
    return true;
}

bool Keyboard::poll() {
    if (exchanging_ || timerInterval_ == 0 || closeRequested_) {
        return false;
    }
    int n = 0;
    {
        Exchange exchange(exchanging_);
        n = st_.link.requestFrameT(kDisplayRequest, kDisplayWait);
    }
    if (n > 0) {
        DisplayLines lines = SplitDisplay(st_.state.ReplyText);
        if (lines == display_) {
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
