// A register stand-in for the line tests: speaks the frame protocol over TCP loopback or a
// pseudo-terminal on its own thread and, like a register, answers the repetition of its last
// executed request (same SEQ and CRC) from the stored reply. A modem in front of it answers
// a dial ("ATD...") with "\r\nCONNECT 9600\r\n" and other commands ("AT...", "+++ATH0") with
// "\r\nOK\r\n", each answer in pieces.
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "qovdll/frame_codec.h"

namespace qovtest {

using namespace std::chrono_literals;

// How the peer answers one intact request; requests past the script are answered Normal.
// Normal: execute (or repeat) and send the reply after ms. Damage: execute or repeat, reply
// with a broken CRC. Drop: execute or repeat, the reply is lost. Split: execute or repeat, half
// the reply now, the rest after ms. Torn: as Split with the reply's LEN broken, and the rest
// comes even when a request comes first (it is on the wire). Raw: the bytes `raw` (a NAK, say)
// instead, not executed. Close: drop the connection. Until ms has passed, `filler` goes out
// every 20 ms (SYN for a busy register, or junk).
struct Act {
    enum Kind { Normal, Damage, Drop, Split, Torn, Raw, Close } kind = Normal;
    int ms = 0;
    std::string filler = {}, raw = {};
};

// What the peer has seen so far.
struct Seen {
    int executions = 0;
    std::vector<qovdll::Frame> requests;  // intact request frames, in order
    std::string bytes;                    // every byte received
};

// Bytes that go out `ms` after the event they answer.
using Timed = std::vector<std::pair<int, std::string>>;

class TestPeer {
public:
    enum class Medium { Tcp, Pty };
    friend void PrintTo(Medium m, std::ostream* os) { *os << (m == Medium::Tcp ? "Tcp" : "Pty"); }

    explicit TestPeer(Medium medium) {
        if (medium == Medium::Tcp) {
            listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
            socklen_t len = sizeof addr;
            auto* a = reinterpret_cast<sockaddr*>(&addr);
            if (::bind(listenFd_, a, len) || ::listen(listenFd_, 4) ||
                ::getsockname(listenFd_, a, &len))
                throw std::runtime_error("test peer: cannot listen");
            device = "tcp://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
        } else {
            // The peer's own hold on the slave keeps the master readable between lines.
            if (::openpty(&fd_, &slaveFd_, nullptr, nullptr, nullptr) != 0)
                throw std::runtime_error("test peer: no pseudo-terminal");
            device = ::ptsname(fd_);
            termios tio{};
            ::tcgetattr(fd_, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
            ::fcntl(fd_, F_SETFL, O_NONBLOCK);
        }
        thread_ = std::thread([this] { run(); });
    }
    ~TestPeer() {
        stop_ = true;
        thread_.join();
        drop();
        ::close(listenFd_);
    }

    // A fresh start: the treatment of the next requests and the reply DATA of an executed
    // request (by default "A" + the request text); the last request, what was seen and what
    // was still to be sent are forgotten.
    void script(std::vector<Act> acts, std::function<std::string(const std::string&)> h = {}) {
        std::lock_guard lock(mutex_);
        due_.clear();
        script_.assign(acts.begin(), acts.end());
        handler_ = std::move(h);
        seen_ = {};
        storedRequest_.clear();
    }
    // The answers to the next ENQs; past them, ACK at once (while answerEnq).
    void scriptEnq(std::vector<Timed> answers) {
        std::lock_guard lock(mutex_);
        enqScript_.assign(answers.begin(), answers.end());
    }
    Seen seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

    std::string device;  // what a line opens: "tcp://127.0.0.1:PORT" or the pty's slave path
    std::atomic<bool> answerEnq{true};

private:
    using Clock = std::chrono::steady_clock;

    // Writes what the other side takes at once; the rest is lost, as on a line nobody reads.
    void put(const std::string& bytes) {
        [[maybe_unused]] const ssize_t n =
            listenFd_ >= 0 ? ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                           : ::write(fd_, bytes.data(), bytes.size());
    }

    void drop() {
        for (int* fd : {&fd_, &slaveFd_})
            ::close(std::exchange(*fd, -1));  // closing -1 is harmless
        due_.clear();
        reader_.reset();
    }

    void later(int ms, std::string bytes, bool onWire = false) {
        const auto at = Clock::now() + std::chrono::milliseconds(ms);
        const auto pos = std::ranges::upper_bound(due_, at, {}, &Due::at);
        due_.insert(pos, {at, std::move(bytes), onWire});
    }

    void onRequest(const qovdll::Frame& frame) {
        seen_.requests.push_back(frame);
        // A new request ends whatever was still to come, except bytes already on the wire.
        std::erase_if(due_, [](const Due& d) { return !d.onWire; });
        if (script_.empty())
            script_.emplace_back();
        const Act act = script_.front();
        script_.pop_front();
        for (int t = 0; !act.filler.empty() && t < act.ms; t += 20)
            later(t, act.filler);
        if (act.kind == Act::Close)
            return drop();
        if (act.kind == Act::Raw)
            return put(act.raw);
        // Executes the request unless it repeats the last executed one.
        if (const std::string request = frame.seq + frame.data; request != storedRequest_) {
            ++seen_.executions;
            storedRequest_ = request;
            storedReply_ =
                qovdll::encodeFrame(frame.seq, handler_ ? handler_(frame.data) : "A" + frame.data);
        }
        std::string reply = storedReply_;
        if (act.kind == Act::Damage)
            reply.back() = reply.back() == '0' ? '1' : '0';
        if (act.kind == Act::Torn)
            reply[2] = 'x';
        if (act.kind == Act::Split || act.kind == Act::Torn) {
            put(reply.substr(0, reply.size() / 2));
            reply.erase(0, reply.size() / 2);
        }
        if (act.kind != Act::Drop)
            later(act.ms, reply, act.kind == Act::Torn);
    }

    void onInput(std::string_view bytes) {
        seen_.bytes.append(bytes);
        if (bytes.starts_with("AT") || bytes.starts_with("+++")) {
            // In three pieces 20 ms apart, as a USB serial adapter hands them over.
            const std::string answer =
                bytes.starts_with("ATD") ? "\r\nCONNECT 9600\r\n" : "\r\nOK\r\n";
            for (std::size_t at = 0, n = (answer.size() + 2) / 3; at < answer.size(); at += n)
                later(static_cast<int>(20 * at / n), answer.substr(at, n));
        }
        std::vector<qovdll::ReaderEvent> events;
        reader_.feed(bytes, events);
        for (const auto& ev : events) {
            if (ev.kind == qovdll::ReaderEvent::Kind::Frame && fd_ >= 0) {
                onRequest(ev.frame);
            } else if (ev.control == qovdll::ENQ) {
                storedRequest_.clear();  // ENQ: the last request is forgotten
                if (!enqScript_.empty()) {
                    for (auto& [ms, answer] : enqScript_.front())
                        later(ms, answer);
                    enqScript_.pop_front();
                } else if (answerEnq) {
                    put("\x06");
                }
            }
        }
    }

    void run() {
        while (!stop_) {
            pollfd fds[2] = {{fd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
            ::poll(fds, 2, 2);
            std::lock_guard lock(mutex_);
            if (fds[1].revents & POLLIN) {
                drop();
                fd_ = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK);
                const int one = 1;
                ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            } else if (fds[0].revents & (POLLIN | POLLHUP)) {
                char buf[4096];
                const ssize_t n = ::read(fd_, buf, sizeof buf);
                if (n > 0)
                    onInput(std::string_view(buf, static_cast<std::size_t>(n)));
                else if (listenFd_ >= 0 && (n == 0 || (errno != EAGAIN && errno != EINTR)))
                    drop();  // the line closed the connection
            }
            for (const auto now = Clock::now(); fd_ >= 0 && !due_.empty() && due_.front().at <= now;
                 due_.pop_front())
                put(due_.front().bytes);
        }
    }

    int listenFd_ = -1, fd_ = -1, slaveFd_ = -1;  // fd_: the connection or the pty master
    mutable std::mutex mutex_;
    std::function<std::string(const std::string&)> handler_;
    std::deque<Act> script_;
    std::deque<Timed> enqScript_;
    struct Due {
        Clock::time_point at;
        std::string bytes;
        bool onWire;
    };
    std::deque<Due> due_;  // bytes to send at a time, by time
    Seen seen_;
    std::string storedRequest_, storedReply_;  // the last executed request (SEQ + DATA), its reply
    qovdll::FrameReader reader_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace qovtest
