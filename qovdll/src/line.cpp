#include "qovdll/line.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "trace.h"

namespace qovdll {

namespace {

using std::chrono::milliseconds;

constexpr int kSpeeds[] = {4800, 9600, 19200, 38400, 57600};
constexpr std::size_t kLogoChunk = 96;

bool supportedSpeed(int speed) {
    return std::find(std::begin(kSpeeds), std::end(kSpeeds), speed) != std::end(kSpeeds);
}

std::string_view cut(std::string_view text, int length) {
    if (length <= 0)
        return {};
    return text.substr(0, std::min(text.size(), static_cast<std::size_t>(length)));
}

std::string digits8(std::size_t value) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%08zu", value);
    return buf;
}

// Marks a line as busy with an operation for its duration.
class OperationGuard {
public:
    explicit OperationGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~OperationGuard() { flag_ = false; }
    OperationGuard(const OperationGuard&) = delete;
    OperationGuard& operator=(const OperationGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

Line::Line() = default;

Line::~Line() {
    Close_RS232();
}

void Line::setPortDevice(int port, std::string device) {
    if (port >= 1 && port <= 8)
        ports_[static_cast<std::size_t>(port - 1)] = std::move(device);
}

std::string Line::portDevice(int port) const {
    if (port < 1 || port > 8)
        return {};
    const std::string& device = ports_[static_cast<std::size_t>(port - 1)];
    return device.empty() ? defaultPortDevice(port) : device;
}

std::string Line::defaultPortDevice(int port) {
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    return "/dev/ttyS" + std::to_string(port - 1);
#endif
}

void Line::setTraceFile(const std::string& path) {
    if (path.empty())
        trace_.reset();
    else if (!trace_ || trace_->path() != path)
        trace_ = std::make_unique<Trace>(path);
}

void Line::setNextSeq(char seq) {
    const auto s = static_cast<unsigned char>(seq);
    if (s >= kSeqFirst && s <= kSeqLast)
        nextSeq_ = seq;
}

bool Line::isOpen() const {
    return transport_ && transport_->isOpen();
}

bool Line::usable() const {
    return !inOperation_ && isOpen();
}

int Line::Init_RS232bd(int port, int speed) {
    Close_RS232();
    int result = static_cast<int>(OpenResult::SetupWrong);
    std::string device;
    openProblem_.clear();
    if (port < 1 || port > 8) {
        openProblem_ = "port " + std::to_string(port) + " is outside 1-8";
    } else if (!supportedSpeed(speed)) {
        openProblem_ = "speed not supported: 4800, 9600, 19200, 38400, 57600";
    } else {
        speed_ = speed;
        device = portDevice(port);
        std::unique_ptr<Transport> transport;
        result = static_cast<int>(
            openTransport(device, speed, timings_.connectMs, transport, &openProblem_));
        if (!openProblem_.empty()) {
            openProblem_ = device + ": " + openProblem_;
        }
        if (transport) {
            transport_ = std::move(transport);
            ++generation_;
            sessionStarted_ = false;
            modemLine_ = false;
            rawTail_.clear();
            reader_.reset();
            rawPending_.clear();
            nextSeq_ = static_cast<char>(QRandomGenerator::global()->bounded(
                static_cast<int>(kSeqFirst), static_cast<int>(kSeqLast) + 1));
        }
    }
    if (trace_) {
        trace_->note("open com" + std::to_string(port) + " " + device + " at " +
                     std::to_string(speed) + ": " + std::to_string(result));
    }
    return result;
}

int Line::Init_RS232(int port) {
    return Init_RS232bd(port, speed_);
}

void Line::Close_RS232() {
    if (!transport_)
        return;
    transport_->close();
    transport_.reset();
    ++generation_;
    sessionStarted_ = false;
    modemLine_ = false;
    rawTail_.clear();
    reader_.reset();
    rawPending_.clear();
    if (trace_)
        trace_->note("close");
}

Line::Clock::duration Line::byteTimes(std::size_t bytes) const {
    const long long speed = speed_ > 0 ? speed_ : 9600;
    return std::chrono::microseconds(static_cast<long long>(bytes) * 10 * 1000000LL / speed);
}

Line::Clock::duration Line::byteGap() const {
    const LineTiming& timing = lineTiming();
    return milliseconds(timing.byteGapMs) +
           byteTimes(static_cast<std::size_t>(timing.byteGapByteTimes));
}

bool Line::send(std::string_view bytes) {
    if (!transport_)
        return false;
    if (trace_)
        trace_->bytesOut(bytes);
    return transport_->write(bytes);
}

Line::Wait Line::receive(std::string& in, Clock::time_point until) {
    if (!transport_)
        return Wait::Closed;
    auto now = Clock::now();
    if (idleHook_)
        until = std::min(until, lastIdle_ + milliseconds(timings_.idleMs));
    int waitMs = 0;
    if (until > now) {
        // Round up so that a wait never ends just before its deadline.
        waitMs = static_cast<int>(std::chrono::ceil<milliseconds>(until - now).count());
    }
    const std::size_t old = in.size();
    const ReadStatus status = transport_->read(in, waitMs);
    if (status == ReadStatus::Closed) {
        if (trace_)
            trace_->note("line lost");
        return Wait::Closed;
    }
    if (status == ReadStatus::Timeout || in.size() == old)
        return Wait::Timeout;
    if (trace_)
        trace_->bytesIn(std::string_view(in).substr(old));
    return Wait::Data;
}

bool Line::idleTick(std::uint64_t generation) {
    if (idleHook_ && Clock::now() - lastIdle_ >= milliseconds(timings_.idleMs)) {
        lastIdle_ = Clock::now();
        idleHook_();
    }
    return generation == generation_ && transport_ != nullptr;
}

void Line::freshStart() {
    std::string stale;
    if (transport_)
        receive(stale, Clock::now());
    reader_.reset();
}

bool Line::awaitQuiet(Clock::time_point lastByte, Clock::duration limit, std::uint64_t generation) {
    const auto end = Clock::now() + limit;
    const auto gap = byteGap();
    std::string in;
    for (;;) {
        const auto until = std::min(lastByte + gap, end);
        if (Clock::now() >= until)
            return true;
        in.clear();
        const Wait w = receive(in, until);
        if (w == Wait::Closed)
            return false;
        if (w == Wait::Data)
            lastByte = Clock::now();
        if (!idleTick(generation))
            return false;
    }
}

Line::EnqResult Line::enquire() {
    const LineTiming& timing = lineTiming();
    const std::uint64_t generation = generation_;
    const auto gap = byteGap();
    unsure_ = false;  // the register forgets its last request on ENQ
    std::vector<ReaderEvent> events;
    std::string in;
    for (int attempt = 0; attempt < timing.attempts; ++attempt) {
        freshStart();
        if (!send(std::string_view("\x05", 1)))
            return EnqResult::Closed;
        const auto deadline = Clock::now() + byteTimes(1) + milliseconds(timing.enqMs);
        auto lastByte = Clock::now();
        for (auto now = lastByte; now < deadline; now = Clock::now()) {
            // Junk that looks like the start of a frame must not swallow the ACK: a frame
            // that stops for longer than T_BYTE is dropped.
            auto until = deadline;
            if (reader_.inFrame()) {
                if (now >= lastByte + gap)
                    reader_.reset();
                else
                    until = std::min(until, lastByte + gap);
            }
            in.clear();
            const Wait w = receive(in, until);
            if (w == Wait::Closed)
                return EnqResult::Closed;
            if (w == Wait::Data) {
                lastByte = Clock::now();
                events.clear();
                reader_.feed(in, events);
                for (const auto& ev : events) {
                    if (ev.kind == ReaderEvent::Kind::Control && ev.control == ACK) {
                        sessionStarted_ = true;
                        return EnqResult::Ack;
                    }
                }
            }
            if (!idleTick(generation))
                return EnqResult::Closed;
        }
    }
    return EnqResult::NoAck;
}

Line::Exchange Line::exchange(std::string_view request, int busyMs) {
    Exchange result;
    result.outcome = Outcome::Closed;
    if (!isOpen())
        return result;
    const std::uint64_t generation = generation_;
    rawPending_.clear();
    if (!sessionStarted_) {
        // A new session: make the register forget its last request first, so that this
        // request is never taken for the repetition of an old one.
        const EnqResult enq = enquire();
        if (enq != EnqResult::Ack) {
            result.outcome = enq == EnqResult::Closed ? Outcome::Closed : Outcome::NoReply;
            return result;
        }
    }
    // The same request right after one whose fate is unknown goes with the same SEQ, so that a
    // register that executed it answers from its stored reply; any other request ends the rule.
    char seq = unsureSeq_;
    if (!unsure_ || request != unsureRequest_) {
        seq = nextSeq_;
        nextSeq_ = qovdll::nextSeq(nextSeq_);
    }
    unsure_ = false;
    const std::string frame = encodeFrame(seq, request);

    const LineTiming& timing = lineTiming();
    const auto gap = byteGap();
    const auto longestFrame = byteTimes(kMaxFrameData + kFrameOverhead) + gap;
    bool sawDamage = false;
    std::string in;
    std::vector<ReaderEvent> events;
    Clock::time_point busyEnd;   // SYN never keeps the operation waiting past it
    Clock::time_point lastByte;  // the last byte that came

    for (int attempt = 0; attempt < timing.attempts; ++attempt) {
        if (attempt == 0)
            freshStart();
        else if (!awaitQuiet(lastByte, longestFrame, generation))
            return result;  // Closed
        reader_.reset();
        if (!send(frame))
            return result;  // Closed
        const auto txEnd = Clock::now() + byteTimes(frame.size());
        if (attempt == 0)
            busyEnd = txEnd + milliseconds(busyMs);
        auto replyDeadline = txEnd + milliseconds(timing.replyMs);
        bool busyCapped = false;  // replyDeadline stands at the busy limit
        lastByte = Clock::now();
        auto frameStart = lastByte;
        bool wasInFrame = false;
        bool attemptOver = false;
        bool stop = false;

        while (!attemptOver) {
            const auto now = Clock::now();
            if (reader_.inFrame()) {
                const auto frameDeadline = std::min(lastByte + gap, frameStart + longestFrame);
                if (now >= frameDeadline) {
                    // A frame stopped half-way (or dripped too slowly): damaged.
                    reader_.reset();
                    sawDamage = true;
                    break;
                }
                in.clear();
                const Wait w = receive(in, frameDeadline);
                if (w == Wait::Closed)
                    return result;
                if (w == Wait::Data)
                    lastByte = Clock::now();
            } else {
                if (now >= replyDeadline) {
                    stop = busyCapped;  // the busy limit is used up: no more waiting at all
                    break;
                }
                in.clear();
                const Wait w = receive(in, replyDeadline);
                if (w == Wait::Closed)
                    return result;
                if (w == Wait::Data)
                    lastByte = Clock::now();
            }
            if (!in.empty()) {
                events.clear();
                reader_.feed(in, events);
                // A chunk may hold a broken frame and then an intact reply (or the other way
                // round): an intact reply wins.
                for (auto& ev : events) {
                    if (ev.kind == ReaderEvent::Kind::Frame) {
                        if (ev.frame.seq != seq)
                            continue;  // a reply to some other request: dropped
                        const std::string& data = ev.frame.data;
                        if (!data.empty() && (data[0] == 'A' || data[0] == 'R' || data[0] == 'E')) {
                            result.outcome = Outcome::Reply;
                            result.data = std::move(ev.frame.data);
                            return result;
                        }
                        sawDamage = true;  // intact frame, but no status: not a reply
                        attemptOver = true;
                    } else if (ev.kind == ReaderEvent::Kind::Damaged) {
                        sawDamage = true;
                        attemptOver = true;
                    } else if (ev.control == NAK) {
                        attemptOver = true;
                    } else if (ev.control == SYN) {
                        const auto restarted = Clock::now() + milliseconds(timing.replyMs);
                        busyCapped = restarted >= busyEnd;
                        replyDeadline = busyCapped ? busyEnd : restarted;
                    }
                    // ACK and ENQ here mean nothing: ignored.
                }
                const bool nowInFrame = reader_.inFrame();
                if (nowInFrame && !wasInFrame)
                    frameStart = lastByte;
                wasInFrame = nowInFrame;
            }
            if (!idleTick(generation))
                return result;
        }
        if (stop)
            break;
    }
    result.outcome = sawDamage ? Outcome::Damaged : Outcome::NoReply;
    unsure_ = true;
    unsureRequest_.assign(request);
    unsureSeq_ = seq;
    return result;
}

int Line::sendResult(const Exchange& ex, bool errorIsRefusal) const {
    if (ex.outcome != Outcome::Reply)
        return 2;
    switch (ex.data[0]) {
        case 'A':
            return 0;
        case 'R':
            return 1;
        default:  // 'E'
            return errorIsRefusal ? 1 : 3;
    }
}

int Line::getResult(const Exchange& ex, ReplyBuffer& reply) const {
    switch (ex.outcome) {
        case Outcome::Reply:
            break;
        case Outcome::Damaged:
            return -5;
        default:
            return -1;
    }
    if (ex.data[0] != 'A')
        return -4;
    const std::size_t n = ex.data.size() - 1;
    if (n > static_cast<std::size_t>(kMaxReplyText))
        return -3;
    std::copy(ex.data.begin() + 1, ex.data.end(), reply.begin() + 1);
    return static_cast<int>(n);
}

int Line::sendFrame(std::string_view text, int length, bool errorIsRefusal) {
    if (!usable())
        return 2;
    OperationGuard guard(inOperation_);
    lastIdle_ = Clock::now();
    const int result = sendResult(exchange(cut(text, length), timings_.busyMs), errorIsRefusal);
    if (trace_)
        trace_->note("send result " + std::to_string(result));
    return result;
}

int Line::getFrame(std::string_view request, int length, ReplyBuffer& reply, int busyMs) {
    if (!usable())
        return -1;
    OperationGuard guard(inOperation_);
    lastIdle_ = Clock::now();
    const int result = getResult(exchange(cut(request, length), busyMs), reply);
    if (trace_)
        trace_->note("get result " + std::to_string(result));
    return result;
}

int Line::send_frame(std::string_view text, int length) {
    return sendFrame(text, length, false);
}

int Line::send_frameM(std::string_view text, int length) {
    return sendFrame(text, length, false);
}

int Line::send_frameMD(std::string_view text, int length) {
    return sendFrame(text, length, true);
}

int Line::get_frame(std::string_view request, int length, ReplyBuffer& reply) {
    return getFrame(request, length, reply, timings_.busyMs);
}

int Line::get_frameM(std::string_view request, int length, ReplyBuffer& reply) {
    return getFrame(request, length, reply, timings_.busyMs);
}

int Line::get_frame120s(std::string_view request, int length, ReplyBuffer& reply) {
    return getFrame(request, length, reply, timings_.busy120sMs);
}

int Line::get_frameT(std::string_view request, int length, ReplyBuffer& reply, int waitMs) {
    return getFrame(request, length, reply, std::max(waitMs, 0));
}

int Line::send_data(std::string_view text, int length) {
    if (!usable())
        return -1;
    const std::string_view bytes = cut(text, length);
    if (!send(bytes))
        return -1;
    // Raw use means modem commands: a new connection may follow, so the next framed exchange
    // starts a new session.
    sessionStarted_ = false;
    return static_cast<int>(bytes.size());
}

void Line::read_data(int& count, std::string& buffer) {
    count = 0;
    if (!usable())
        return;
    OperationGuard guard(inOperation_);
    const std::uint64_t generation = generation_;
    lastIdle_ = Clock::now();
    const std::size_t kept = rawPending_.size();
    const auto deadline = Clock::now() + milliseconds(timings_.readDataMs);
    while (rawPending_.empty() && Clock::now() < deadline) {
        if (receive(rawPending_, deadline) == Wait::Closed)
            break;
        if (!idleTick(generation))
            return;
    }
    if (!rawPending_.empty()) {
        // A modem answer often comes in pieces: gather until the line is quiet, the buffer is
        // full or the gathering time is up, so that the caller sees the whole answer.
        const auto gatherEnd = Clock::now() + milliseconds(timings_.readGatherMs);
        auto lastByte = Clock::now();
        while (rawPending_.size() < buffer.size()) {
            const auto until = std::min(lastByte + milliseconds(timings_.readQuietMs), gatherEnd);
            if (Clock::now() >= until)
                break;
            const std::size_t had = rawPending_.size();
            if (receive(rawPending_, until) == Wait::Closed)
                break;
            if (rawPending_.size() > had)
                lastByte = Clock::now();
            if (!idleTick(generation))
                return;
        }
    }
    noteRawAnswers(std::string_view(rawPending_).substr(kept));
    const std::size_t n = std::min(buffer.size(), rawPending_.size());
    std::copy_n(rawPending_.begin(), n, buffer.begin());
    rawPending_.erase(0, n);
    count = static_cast<int>(n);
}

void Line::noteRawAnswers(std::string_view arrived) {
    // An answer may be split between two reads: the tail of the earlier bytes goes along.
    const std::string text = rawTail_ + std::string(arrived);
    const auto last = [&text](std::string_view answer) {
        const auto at = text.rfind(answer);
        return at == std::string::npos ? -1 : static_cast<long long>(at);
    };
    const long long connect = last("CONNECT");
    const long long hangUp = std::max(last("NO CARRIER"), last("OK"));
    if (connect != hangUp) {
        const bool modem = connect > hangUp;
        if (trace_ && modem != modemLine_)
            trace_->note(modem ? "modem line" : "direct line");
        modemLine_ = modem;
    }
    rawTail_ = text.substr(text.size() - std::min<std::size_t>(text.size(), 9));
}

int Line::testConnection() {
    if (!usable())
        return -1;
    OperationGuard guard(inOperation_);
    lastIdle_ = Clock::now();
    rawPending_.clear();
    const EnqResult enq = enquire();
    const int result = enq == EnqResult::Ack ? 0 : enq == EnqResult::NoAck ? 1 : -1;
    if (trace_)
        trace_->note("test result " + std::to_string(result));
    return result;
}

int Line::Testconnessione() {
    return testConnection();
}

int Line::TestconnessioneM() {
    return testConnection();
}

int Line::Invialogo(const std::string& path) {
    std::string file;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return 3;
        file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            return 3;
    }
    if (file.size() < 2 || file.compare(0, 2, "BM") != 0 || file.size() > 99999999)
        return 3;
    if (!usable())
        return 2;
    OperationGuard guard(inOperation_);
    lastIdle_ = Clock::now();
    const auto step = [&](const std::string& request) {
        const int result = sendResult(exchange(request, timings_.busyMs), true);
        if (trace_)
            trace_->note("logo result " + std::to_string(result));
        return result;
    };
    int r = step("NS" + digits8(file.size()));
    for (std::size_t offset = 0; r == 0 && offset < file.size(); offset += kLogoChunk)
        r = step("ND" + digits8(offset) + file.substr(offset, kLogoChunk));
    if (r == 0)
        r = step("NE");
    return r;
}

}  // namespace qovdll
