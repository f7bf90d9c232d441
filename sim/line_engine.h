// The register's side of the line: frames in, replies out, with the repetition rule, ENQ/ACK,
// NAK, SYN while busy, the Hayes modem in front of it and the injected faults. No sockets and
// no clock of its own: the caller feeds bytes with the time they came and takes the bytes whose
// time has come, so the whole protocol runs in tests without a wait.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "event_log.h"
#include "qovdll/frame_codec.h"
#include "register_model.h"

namespace qov::sim {

enum class DialOutcome { Connect, Busy, NoCarrier, NoAnswer, NoDialtone };

struct LineOptions {
    double faultRate = 0;      // damage a reply byte / drop a request, each with this chance
    double dropAfterExec = 0;  // execute, then lose the reply
    // Every request starting with this text is executed (once) and every reply to it lost,
    // repetitions included: a frame the register took while the station never hears so.
    std::string loseRepliesTo{};
    std::uint64_t seed = 1;
    int synMs = 0;  // SYN for this long before the reply of a slow request
    int replyDelayMs = 0;
    bool modem = false;  // the line starts as a Hayes modem in command mode
    DialOutcome dial = DialOutcome::Connect;
    bool ring = false;
    int dialDelayMs = 300;  // from the dial command to its answer
    int gapMs = 500;        // longest pause inside a request before it counts as damaged
    int synEveryMs = 200;
    // Output in pieces of this many bytes (0: whole), chunkDelayMs apart, as a USB serial
    // adapter hands bytes over.
    int chunk = 0;
    int chunkDelayMs = 0;
};

class LineEngine {
public:
    using Clock = std::chrono::steady_clock;
    using Time = Clock::time_point;

    LineEngine(RegisterModel& model, LineOptions options, EventLog* log = nullptr);

    // A new line (a new connection): partial frame dropped, last request forgotten, queued
    // output dropped, a modem back in command mode.
    void reset();
    void receive(std::string_view bytes, Time now);
    // Timers that depend on no input (the gap inside a request).
    void poll(Time now);
    // Appends the bytes whose time has come to out.
    void takeDue(Time now, std::string& out);
    // When the engine next has something to do (output or a gap check).
    std::optional<Time> nextEvent() const;

    bool online() const { return modemState_ == ModemState::Online; }
    int executed() const { return executed_; }
    int repeated() const { return repeated_; }

private:
    enum class ModemState { Command, Dialing, Online };
    struct Out {
        Time due;
        std::string bytes;
        std::optional<ModemState> then;  // modem state once these bytes are out
    };
    struct LastRequest {
        bool valid = false;
        char seq = 0;
        std::uint16_t crc = 0;
        std::string reply;  // the whole reply frame
        bool lost = false;  // its replies are never sent (loseRepliesTo)
    };

    void feedReader(std::string_view bytes, Time now);
    void onEvent(qovdll::ReaderEvent& ev, Time now);
    void onFrame(const qovdll::Frame& frame, Time now);
    void sendReply(const std::string& frame, char seq, Time due);
    void queue(Time due, std::string bytes, std::optional<ModemState> then = std::nullopt);
    bool chance(double p);
    void commandLine(std::string line, Time now);
    void onlineText(char c, Time now);
    void modemAnswer(std::string_view text, Time due, std::optional<ModemState> then = {});

    RegisterModel& model_;
    LineOptions options_;
    EventLog* log_;
    qovdll::FrameReader reader_;
    std::vector<qovdll::ReaderEvent> events_;
    LastRequest last_;
    std::deque<Out> out_;
    std::mt19937_64 rng_;
    Time lastByte_{};
    ModemState modemState_ = ModemState::Online;
    std::string commandBuffer_;
    std::string onlineText_;
    bool passwordPending_ = false;
    int executed_ = 0;
    int repeated_ = 0;
};

}  // namespace qov::sim
