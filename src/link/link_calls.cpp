#include "link/link_calls.h"

#include <algorithm>

namespace qov {

int LinkCalls::testConnection() {
    return state_.ModemMode ? link_.TestconnessioneM() : link_.Testconnessione();
}

int LinkCalls::sendFrame(const std::string& text) {
    state_.FrameBuffer = text;
    const int length = static_cast<int>(text.size());
    state_.LinkResult = state_.ModemMode ? link_.send_frameM(text, length)
                                         : link_.send_frame(text, length);
    return state_.LinkResult;
}

int LinkCalls::sendFrameMD(const std::string& text) {
    state_.FrameBuffer = text;
    state_.LinkResult = link_.send_frameMD(text, static_cast<int>(text.size()));
    return state_.LinkResult;
}

int LinkCalls::requestFrame(const std::string& request) {
    state_.FrameBuffer = request;
    const int length = static_cast<int>(request.size());
    const int n = state_.ModemMode ? link_.get_frameM(request, length, state_.ReplyBytes)
                                   : link_.get_frame(request, length, state_.ReplyBytes);
    return afterRequest(n);
}

int LinkCalls::requestFrame120s(const std::string& request) {
    state_.FrameBuffer = request;
    return afterRequest(
        link_.get_frame120s(request, static_cast<int>(request.size()), state_.ReplyBytes));
}

int LinkCalls::requestFrameT(const std::string& request, int waitMs) {
    state_.FrameBuffer = request;
    return afterRequest(
        link_.get_frameT(request, static_cast<int>(request.size()), state_.ReplyBytes, waitMs));
}

int LinkCalls::afterRequest(int n) {
    state_.LinkResult = n;
    if (n > 0) {
        state_.ReplyText = replyText(n);
    }
    return n;
}

std::string LinkCalls::replyText(int n, bool commaToPoint) const {
    const int count = std::clamp(n, 0, static_cast<int>(state_.ReplyBytes.size()) - 1);
    std::string text;
    text.reserve(count);
    for (int i = 1; i <= count; ++i) {
        char c = static_cast<char>(state_.ReplyBytes[i]);
        if (commaToPoint && c == ',') {
            c = '.';
        }
        text.push_back(c);
    }
    return text;
}

}  // namespace qov
