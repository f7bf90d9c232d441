#include "line_engine.h"

#include <algorithm>
#include <utility>

namespace qov::sim {

namespace {

using std::chrono::milliseconds;

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Without blanks and control bytes around it (an ENQ sent before the dial is no part of it).
std::string trimmed(std::string_view s) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

// "ATDT0111234567", "ATX3DP55", "ATD123": a D that is not part of "&D".
bool isDial(const std::string& upper) {
    for (std::size_t i = 2; i < upper.size(); ++i)
        if (upper[i] == 'D' && upper[i - 1] != '&')
            return true;
    return false;
}

const char* outcomeText(DialOutcome d) {
    switch (d) {
        case DialOutcome::Connect:
            return "CONNECT 9600";
        case DialOutcome::Busy:
            return "BUSY";
        case DialOutcome::NoCarrier:
            return "NO CARRIER";
        case DialOutcome::NoAnswer:
            return "NO ANSWER";
        case DialOutcome::NoDialtone:
            return "NO DIALTONE";
    }
    return "NO CARRIER";
}

}  // namespace

LineEngine::LineEngine(RegisterModel& model, LineOptions options, EventLog* log)
    : model_(model), options_(options), log_(log), rng_(options.seed) {
    events_.reserve(8);
    reset();
}

void LineEngine::reset() {
    reader_.reset();
    last_ = LastRequest{};
    out_.clear();
    commandBuffer_.clear();
    onlineText_.clear();
    passwordPending_ = false;
    modemState_ = options_.modem ? ModemState::Command : ModemState::Online;
}

bool LineEngine::chance(double p) {
    if (p <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p;
}

void LineEngine::queue(Time due, std::string bytes, std::optional<ModemState> then) {
    // Output leaves in the order it was queued.
    if (!out_.empty() && out_.back().due > due)
        due = out_.back().due;
    const auto piece = static_cast<std::size_t>(std::max(options_.chunk, 0));
    for (; piece > 0 && bytes.size() > piece; due += milliseconds(options_.chunkDelayMs)) {
        out_.push_back(Out{due, bytes.substr(0, piece), std::nullopt});
        bytes.erase(0, piece);
    }
    out_.push_back(Out{due, std::move(bytes), then});
}

void LineEngine::takeDue(Time now, std::string& out) {
    while (!out_.empty() && out_.front().due <= now) {
        out += out_.front().bytes;
        if (out_.front().then)
            modemState_ = *out_.front().then;
        out_.pop_front();
    }
}

std::optional<LineEngine::Time> LineEngine::nextEvent() const {
    std::optional<Time> next;
    if (!out_.empty())
        next = out_.front().due;
    if (reader_.inFrame()) {
        const Time gap = lastByte_ + milliseconds(options_.gapMs);
        if (!next || gap < *next)
            next = gap;
    }
    return next;
}

void LineEngine::poll(Time now) {
    if (reader_.inFrame() && now - lastByte_ > milliseconds(options_.gapMs)) {
        reader_.reset();
        if (log_)
            log_->write("N", "out gap");
        queue(now, std::string(1, static_cast<char>(qovdll::NAK)));
    }
}

void LineEngine::receive(std::string_view bytes, Time now) {
    poll(now);  // a gap before these bytes broke the frame that was coming
    switch (modemState_) {
        case ModemState::Online:
            if (!options_.modem) {
                feedReader(bytes, now);
                return;
            }
            // Text outside frames may be the password or an escape; look at it byte by byte.
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                const char c = bytes[i];
                const auto b = static_cast<unsigned char>(c);
                if (!reader_.inFrame() && b != qovdll::STX && b != qovdll::ENQ &&
                    b != qovdll::NAK && b != qovdll::ACK && b != qovdll::SYN) {
                    onlineText(c, now);
                    if (modemState_ != ModemState::Online) {  // escaped: the rest is commands
                        receive(bytes.substr(i + 1), now);
                        return;
                    }
                    continue;
                }
                feedReader(bytes.substr(i, 1), now);
            }
            return;
        case ModemState::Dialing:
            return;  // the modem is busy dialling; what comes meanwhile is lost
        case ModemState::Command:
            for (char c : bytes) {
                if (c == '\r' || c == '\n') {
                    if (!commandBuffer_.empty())
                        commandLine(std::exchange(commandBuffer_, {}), now);
                } else if (commandBuffer_.size() < 256) {
                    commandBuffer_ += c;
                    if (commandBuffer_ == "+++") {  // escape while already in command mode
                        commandBuffer_.clear();
                        modemAnswer("OK", now);
                    }
                }
                if (modemState_ != ModemState::Command)
                    return;
            }
            return;
    }
}

void LineEngine::feedReader(std::string_view bytes, Time now) {
    lastByte_ = now;
    events_.clear();
    reader_.feed(bytes, events_);
    for (auto& ev : events_)
        onEvent(ev, now);
}

void LineEngine::onEvent(qovdll::ReaderEvent& ev, Time now) {
    if (passwordPending_) {
        passwordPending_ = false;
        if (log_ && !onlineText_.empty())
            log_->write("M", "password " + onlineText_);
        onlineText_.clear();
    }
    switch (ev.kind) {
        case qovdll::ReaderEvent::Kind::Frame:
            onFrame(ev.frame, now);
            return;
        case qovdll::ReaderEvent::Kind::Damaged:
            if (log_)
                log_->write("N", "out damaged");
            queue(now, std::string(1, static_cast<char>(qovdll::NAK)));
            return;
        case qovdll::ReaderEvent::Kind::Control:
            if (ev.control == qovdll::ENQ) {
                last_.valid = false;
                if (log_)
                    log_->write("E", "ENQ");
                queue(now, std::string(1, static_cast<char>(qovdll::ACK)));
            } else if (ev.control == qovdll::NAK) {
                if (log_)
                    log_->write("N", "in");
                if (last_.valid) {
                    ++repeated_;
                    if (log_)
                        log_->write("=", std::string(1, last_.seq));
                    if (!last_.lost)
                        sendReply(last_.reply, last_.seq,
                                  now + milliseconds(options_.replyDelayMs));
                }
            }
            return;  // ACK and SYN from the station mean nothing here
    }
}

void LineEngine::onFrame(const qovdll::Frame& frame, Time now) {
    if (chance(options_.faultRate)) {
        if (log_)
            log_->write("F", std::string("drop ") + frame.seq);
        return;
    }
    // The CRC of the request as it travelled: over LEN, SEQ and DATA.
    char len[4];
    const std::size_t n = frame.data.size();
    len[0] = static_cast<char>('0' + n / 100 % 10);
    len[1] = static_cast<char>('0' + n / 10 % 10);
    len[2] = static_cast<char>('0' + n % 10);
    len[3] = frame.seq;
    std::string body(len, 4);
    body += frame.data;
    const std::uint16_t crc = qovdll::crc16(body);
    const Time due = now + milliseconds(options_.replyDelayMs);

    if (last_.valid && last_.seq == frame.seq && last_.crc == crc) {
        ++repeated_;
        if (log_)
            log_->write("=", std::string(1, frame.seq));
        if (last_.lost) {
            if (log_)
                log_->write("F", std::string("lost ") + frame.seq);
            return;
        }
        sendReply(last_.reply, frame.seq, due);
        return;
    }

    ++executed_;
    if (log_)
        log_->write(">", std::string(1, frame.seq) + " " + frame.data);
    const Reply reply = model_.execute(frame.data);
    std::string data;
    data.reserve(reply.text.size() + 1);
    data += reply.status;
    data += reply.text;
    last_.valid = true;
    last_.seq = frame.seq;
    last_.crc = crc;
    last_.reply = qovdll::encodeFrame(frame.seq, data);
    last_.lost =
        !options_.loseRepliesTo.empty() && frame.data.rfind(options_.loseRepliesTo, 0) == 0;
    if (log_)
        log_->write("<", std::string(1, frame.seq) + " " + data);

    Time replyAt = due;
    if (reply.slow && options_.synMs > 0) {
        const std::string syn(1, static_cast<char>(qovdll::SYN));
        for (int t = 0; t < options_.synMs; t += std::max(1, options_.synEveryMs))
            queue(now + milliseconds(t), syn);
        replyAt = now + milliseconds(options_.synMs + options_.replyDelayMs);
    }
    if (last_.lost || chance(options_.dropAfterExec)) {
        if (log_)
            log_->write("F", std::string("lost ") + frame.seq);
        return;
    }
    sendReply(last_.reply, frame.seq, replyAt);
}

void LineEngine::sendReply(const std::string& frame, char seq, Time due) {
    if (chance(options_.faultRate) && !frame.empty()) {
        std::string damaged = frame;
        const std::size_t at =
            std::uniform_int_distribution<std::size_t>(0, frame.size() - 1)(rng_);
        const auto flip = static_cast<char>(1 + rng_() % 255);
        damaged[at] = static_cast<char>(damaged[at] ^ flip);
        if (log_)
            log_->write("F", std::string("damage ") + seq);
        queue(due, std::move(damaged));
        return;
    }
    queue(due, frame);
}

// ---- modem -------------------------------------------------------------------------------

void LineEngine::modemAnswer(std::string_view text, Time due, std::optional<ModemState> then) {
    if (log_)
        log_->write("M", "< " + std::string(text));
    queue(due, "\r\n" + std::string(text) + "\r\n", then);
}

void LineEngine::commandLine(std::string line, Time now) {
    if (log_)
        log_->write("M", "> " + line);
    std::string upper = upperAscii(trimmed(line));
    while (upper.starts_with("+++"))
        upper.erase(0, 3);
    if (!upper.starts_with("AT")) {
        if (upper.empty())
            modemAnswer("OK", now);
        return;  // not a command: a modem ignores it
    }
    if (!isDial(upper)) {
        modemAnswer("OK", now);
        return;
    }
    modemState_ = ModemState::Dialing;
    const Time answer = now + milliseconds(options_.dialDelayMs);
    if (options_.ring)
        modemAnswer("RING", now + milliseconds(options_.dialDelayMs / 2));
    if (options_.dial == DialOutcome::Connect) {
        passwordPending_ = true;
        onlineText_.clear();
        reader_.reset();
        last_.valid = false;
        modemAnswer(outcomeText(options_.dial), answer, ModemState::Online);
    } else {
        modemAnswer(outcomeText(options_.dial), answer, ModemState::Command);
    }
}

void LineEngine::onlineText(char c, Time now) {
    if (c == '\r' || c == '\n') {
        // A hang-up line; right after CONNECT it may follow the password, which the
        // station sends without a line end.
        const std::string line = trimmed(onlineText_);
        const std::size_t hangup = upperAscii(line).find("ATH");
        if (hangup == 0 || (hangup != std::string::npos && passwordPending_)) {
            if (log_ && hangup > 0)
                log_->write("M", "password " + line.substr(0, hangup));
            if (log_)
                log_->write("M", "> " + line.substr(hangup));
            onlineText_.clear();
            passwordPending_ = false;
            modemAnswer("OK", now, ModemState::Command);
            return;
        }
        if (passwordPending_ && !onlineText_.empty()) {
            passwordPending_ = false;
            if (log_)
                log_->write("M", "password " + onlineText_);
        }
        onlineText_.clear();
        return;
    }
    if (onlineText_.size() < 256)
        onlineText_ += c;
    if (onlineText_.ends_with("+++")) {
        // Escape to command mode; what follows ("ATH") is a command line.
        const std::string before = onlineText_.substr(0, onlineText_.size() - 3);
        if (passwordPending_ && !before.empty() && log_)
            log_->write("M", "password " + before);
        passwordPending_ = false;
        if (log_)
            log_->write("M", "> +++");
        onlineText_.clear();
        commandBuffer_.clear();
        modemState_ = ModemState::Command;
        modemAnswer("OK", now);
    }
}

}  // namespace qov::sim
