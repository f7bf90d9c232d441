#include "support/scripted_link.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qov::test {

ScriptedLink& ScriptedLink::expect(const std::string& op, const std::string& text, int result,
                                   const std::string& reply) {
    script.push_back(Step{op, text, true, result, reply});
    return *this;
}

ScriptedLink& ScriptedLink::then(int result, const std::string& reply) {
    script.push_back(Step{{}, {}, false, result, reply});
    return *this;
}

ScriptedLink& ScriptedLink::replyTo(const std::string& request, const std::string& reply) {
    script.push_back(Step{{}, request, true, static_cast<int>(reply.size()), reply});
    return *this;
}

const ScriptedLink::Step* ScriptedLink::nextStep(const std::string& op, const std::string& text) {
    if (script.empty()) {
        return nullptr;
    }
    current_ = script.front();
    script.pop_front();
    if (!current_.op.empty() && current_.op != op) {
        ADD_FAILURE() << "link call " << calls.size() << ": expected " << current_.op << "('"
                      << current_.text << "'), got " << op << "('" << text << "')";
    } else if (current_.checkText && current_.text != text) {
        ADD_FAILURE() << "link call " << calls.size() << " (" << op << "): expected text '"
                      << current_.text << "', got '" << text << "'";
    }
    return &current_;
}

int ScriptedLink::simple(const std::string& op, const std::string& text, int arg, int fallback) {
    const Step* step = nextStep(op, text);
    calls.push_back(LinkCall{op, text, arg});
    return step != nullptr ? step->result : fallback;
}

int ScriptedLink::request(const std::string& op, const std::string& text, ReplyBuffer& reply,
                          int arg) {
    const Step* step = nextStep(op, text);
    calls.push_back(LinkCall{op, text, arg});
    if (step == nullptr) {
        return defaultRequest;
    }
    // Reply bytes go to positions 1..n, as the library copies them; a reply too long
    // for the buffer is cut, which a real library would have reported as -3.
    const std::size_t n = std::min(step->reply.size(), reply.size() - 1);
    std::copy_n(step->reply.begin(), n, reply.begin() + 1);
    return step->result;
}

int ScriptedLink::Init_RS232bd(int port, int speed) {
    const int result = simple("Init_RS232bd", std::to_string(port), speed, defaultInit);
    open = result == 0;
    return result;
}

int ScriptedLink::Init_RS232(int port) {
    const int result = simple("Init_RS232", std::to_string(port), port, defaultInit);
    open = result == 0;
    return result;
}

void ScriptedLink::Close_RS232() {
    // Closing is recorded but takes no scripted step: callers close freely.
    calls.push_back(LinkCall{"Close_RS232", {}, 0});
    open = false;
}

int ScriptedLink::send_frame(const std::string& text, int length) {
    return simple("send_frame", text, length, defaultSend);
}

int ScriptedLink::send_frameM(const std::string& text, int length) {
    return simple("send_frameM", text, length, defaultSend);
}

int ScriptedLink::send_frameMD(const std::string& text, int length) {
    return simple("send_frameMD", text, length, defaultSend);
}

int ScriptedLink::get_frame(const std::string& request_, int length, ReplyBuffer& reply) {
    return request("get_frame", request_, reply, length);
}

int ScriptedLink::get_frameM(const std::string& request_, int length, ReplyBuffer& reply) {
    return request("get_frameM", request_, reply, length);
}

int ScriptedLink::get_frame120s(const std::string& request_, int length, ReplyBuffer& reply) {
    return request("get_frame120s", request_, reply, length);
}

int ScriptedLink::get_frameT(const std::string& request_, int, ReplyBuffer& reply, int waitMs) {
    return request("get_frameT", request_, reply, waitMs);
}

int ScriptedLink::send_data(const std::string& text, int length) {
    return simple("send_data", text, length, length);
}

void ScriptedLink::read_data(int& count, std::string& buffer) {
    const Step* step = nextStep("read_data", {});
    calls.push_back(LinkCall{"read_data", {}, static_cast<int>(buffer.size())});
    count = 0;
    if (step == nullptr) {
        return;
    }
    // At most the buffer's length comes back, copied to its start.
    const std::size_t n = std::min(step->reply.size(), buffer.size());
    std::copy_n(step->reply.begin(), n, buffer.begin());
    count = static_cast<int>(n);
}

int ScriptedLink::Testconnessione() {
    return simple("Testconnessione", {}, 0, defaultTest);
}

int ScriptedLink::TestconnessioneM() {
    return simple("TestconnessioneM", {}, 0, defaultTest);
}

int ScriptedLink::Invialogo(const std::string& path) {
    return simple("Invialogo", path, 0, 0);
}

std::vector<std::string> ScriptedLink::textsOf(const std::string& op) const {
    std::vector<std::string> texts;
    for (const LinkCall& call : calls) {
        if (call.op == op) {
            texts.push_back(call.text);
        }
    }
    return texts;
}

int ScriptedLink::count(const std::string& op) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const LinkCall& c) { return c.op == op; }));
}

}  // namespace qov::test
