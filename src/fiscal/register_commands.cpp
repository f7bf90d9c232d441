#include "fiscal/register_commands.h"

#include <algorithm>

namespace qov {
namespace {

// Characters `first`..`last` (1-based) of `text`, as far as the text reaches.
std::string Chars(const std::string& text, std::size_t first, std::size_t last) {
    if (text.size() < first) {
        return {};
    }
    return text.substr(first - 1, std::min(last, text.size()) - first + 1);
}

// A plain get_frame request (never the modem form), kept in the shared buffers.
int PlainRequest(LinkCalls& link, const std::string& request) {
    SharedState& state = link.state();
    state.FrameBuffer = request;
    const int n =
        link.link().get_frame(request, static_cast<int>(request.size()), state.ReplyBytes);
    state.LinkResult = n;
    if (n > 0) {
        state.ReplyText = link.replyText(n);
    }
    return n;
}

}  // namespace

std::string DigitKeyCode(char digit) {
    return std::string("3") + digit;
}

std::string KeyFrame(const std::string& code) {
    return "m01" + code;
}

int PressKey(LinkCalls& link, const std::string& code) {
    SharedState& state = link.state();
    state.FrameBuffer = KeyFrame(code);
    state.LinkResult =
        link.link().send_frame(state.FrameBuffer, static_cast<int>(state.FrameBuffer.size()));
    return state.LinkResult;
}

int PressKeyMD(LinkCalls& link, const std::string& code) {
    return link.sendFrameMD(KeyFrame(code));
}

std::optional<int> StatusNumber(const std::string& text, bool integerPart) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    std::size_t i = first;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    const std::size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = std::min(value * 10 + (text[i] - '0'), 1000000L);
        ++i;
    }
    if (i == digitsStart) {
        return std::nullopt;
    }
    if (integerPart && i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
    }
    if (text.find_first_not_of(' ', i) != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

bool ReadStatusReply(const std::string& reply, RegisterStatus& status) {
    const std::string menu = Chars(reply, 3, 3);
    if (menu.size() != 1 || menu[0] < '0' || menu[0] > '9') {
        return false;
    }
    status.menuPosition = menu[0] - '0';
    if (const auto error = StatusNumber(Chars(reply, 5, 6))) {
        status.lastError = *error;
    }
    if (const auto working = StatusNumber(Chars(reply, 7, 7))) {
        status.workingState = *working;
    }
    if (const auto articles = StatusNumber(Chars(reply, 11, 15), true)) {
        status.articleCount = *articles;
    }
    return true;
}

bool RequestStatus(LinkCalls& link, RegisterStatus& status, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        const int n = PlainRequest(link, "n");
        if (n > 0 && ReadStatusReply(link.state().ReplyText, status)) {
            return true;
        }
    }
    return false;
}

std::string RequestDisplay(LinkCalls& link, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        if (PlainRequest(link, "r") > 0) {
            return link.state().ReplyText.substr(0, 16);
        }
    }
    return kNoDisplay;
}

DisplayLines SplitDisplay(const std::string& reply) {
    return {Chars(reply, 1, 16), Chars(reply, 18, 33), Chars(reply, 35, 50)};
}

int PollDisplay(LinkCalls& link, DisplayLines& lines, int waitMs) {
    const int n = link.requestFrameT("r", waitMs);
    if (n > 0) {
        lines = SplitDisplay(link.state().ReplyText);
    }
    return n;
}

}  // namespace qov
