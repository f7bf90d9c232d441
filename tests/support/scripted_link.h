#pragma once

#include <deque>
#include <string>
#include <vector>

#include "link/link.h"

namespace qov::test {

// One call the station made on the link.
struct LinkCall {
    std::string op;    // "send_frame", "get_frame", "Testconnessione", "send_data", ...
    std::string text;  // the frame, request or raw text ("" for operations without one)
    int arg = 0;       // port / speed / wait / length, where the operation has one
};

// A Link fake: told which operations and texts to expect and what to answer, and
// recording every call. Each call takes the next scripted step; a step whose op or
// text differs from the call is a test failure (reported through GoogleTest). With
// no step left, the defaults answer (send 0, request -1, test 0, init 0, read nothing).
class ScriptedLink : public Link {
public:
    struct Step {
        std::string op;    // empty: any operation
        std::string text;  // checked when `checkText`
        bool checkText = true;
        int result = 0;
        std::string reply;  // request reply bytes, copied to positions 1..n; raw read bytes
    };

    // Expect `op` with `text` and answer `result` (and for requests the reply text, which
    // goes to positions 1..reply.size(); pass result = reply.size() for a normal reply).
    ScriptedLink& expect(const std::string& op, const std::string& text, int result,
                         const std::string& reply = {});
    // Any operation, any text.
    ScriptedLink& then(int result, const std::string& reply = {});
    // A request answered with `reply` (result = its length).
    ScriptedLink& replyTo(const std::string& request, const std::string& reply);

    int Init_RS232bd(int port, int speed) override;
    int Init_RS232(int port) override;
    void Close_RS232() override;
    int send_frame(const std::string& text, int length) override;
    int send_frameM(const std::string& text, int length) override;
    int send_frameMD(const std::string& text, int length) override;
    int get_frame(const std::string& request, int length, ReplyBuffer& reply) override;
    int get_frameM(const std::string& request, int length, ReplyBuffer& reply) override;
    int get_frame120s(const std::string& request, int length, ReplyBuffer& reply) override;
    int get_frameT(const std::string& request, int length, ReplyBuffer& reply, int waitMs) override;
    int send_data(const std::string& text, int length) override;
    void read_data(int& count, std::string& buffer) override;
    int Testconnessione() override;
    int TestconnessioneM() override;
    int Invialogo(const std::string& path) override;
    void setIdleHook(std::function<void()> hook) override { idleHook = std::move(hook); }

    // The texts of the calls of one operation, in order.
    std::vector<std::string> textsOf(const std::string& op) const;
    int count(const std::string& op) const;

    std::vector<LinkCall> calls;
    std::deque<Step> script;
    std::function<void()> idleHook;
    bool open = false;
    int defaultSend = 0;
    int defaultRequest = -1;
    int defaultTest = 0;
    int defaultInit = 0;

private:
    const Step* nextStep(const std::string& op, const std::string& text);
    int request(const std::string& op, const std::string& text, ReplyBuffer& reply, int arg);
    int simple(const std::string& op, const std::string& text, int arg, int fallback);
    Step current_;
};

}  // namespace qov::test
