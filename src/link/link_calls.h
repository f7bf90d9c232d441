#pragma once

#include <string>

#include "app/shared_state.h"
#include "link/link.h"

namespace qov {

// The station's side of every exchange, written once: picks the plain or the modem
// ("M") operation by ModemMode, keeps FrameBuffer and LinkResult, and rebuilds
// ReplyText from ReplyBytes after a reply.
class LinkCalls {
public:
    LinkCalls(SharedState& state, Link& link) : state_(state), link_(link) {}

    Link& link() { return link_; }
    SharedState& state() { return state_; }

    // Testconnessione, or TestconnessioneM while ModemMode. 0 = the register answers.
    int testConnection();

    // FrameBuffer = text; send_frame or send_frameM; the result goes to LinkResult.
    int sendFrame(const std::string& text);
    // send_frameMD on either line kind.
    int sendFrameMD(const std::string& text);

    // get_frame or get_frameM; n > 0 rebuilds ReplyText from ReplyBytes 1..n.
    int requestFrame(const std::string& request);
    // get_frame120s on either line kind (the register works long before answering).
    int requestFrame120s(const std::string& request);
    // get_frameT with its wait in milliseconds.
    int requestFrameT(const std::string& request, int waitMs);

    // ReplyText from ReplyBytes positions 1..n, one character per byte; with
    // `commaToPoint` every "," becomes "." while it is copied.
    std::string replyText(int n, bool commaToPoint = false) const;

private:
    int afterRequest(int n);

    SharedState& state_;
    Link& link_;
};

}  // namespace qov
