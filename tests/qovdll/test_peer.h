// A register stand-in for the line tests: speaks the frame protocol over TCP loopback or a
// pseudo-terminal on its own thread and, like a register, answers the repetition of its last
// executed request (same SEQ and CRC) from the stored reply. A modem in front of it answers
// raw bytes starting with "AT" with "\r\nCONNECT 9600\r\n".
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

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
// the reply now, the rest after ms. Raw: the bytes `raw` (a NAK, say) instead, not executed.
// Close: drop the connection. Until ms has passed, `filler` goes out every 20 ms (SYN for a
// busy register, or junk).
struct Act {
    enum Kind { Normal, Damage, Drop, Split, Raw, Close } kind = Normal;
    int ms = 0;
    std::string filler = {}, raw = {};
};

// What the peer has seen so far.
struct Seen {
    int executions = 0;
    std::vector<qovdll::Frame> requests;  // intact request frames, in order
    std::string bytes;                    // every byte received
};

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
    // request (by default "A" + the request text); the last request and what was seen are
    // forgotten.
    void script(std::vector<Act> acts, std::function<std::string(const std::string&)> h = {}) {
        std::lock_guard lock(mutex_);
        script_.assign(acts.begin(), acts.end());
        handler_ = std::move(h);
        seen_ = {};
        storedRequest_.clear();
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

    void onRequest(const qovdll::Frame& frame) {
        seen_.requests.push_back(frame);
        due_.clear();  // a new request ends whatever was still to come
        if (script_.empty())
            script_.emplace_back();
        const Act act = script_.front();
        script_.pop_front();
        const auto at = Clock::now() + std::chrono::milliseconds(act.ms);
        for (auto t = Clock::now(); !act.filler.empty() && t < at; t += 20ms)
            due_.emplace_back(t, act.filler);
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
        if (act.kind == Act::Split) {
            put(reply.substr(0, reply.size() / 2));
            reply.erase(0, reply.size() / 2);
        }
        if (act.kind != Act::Drop)
            due_.emplace_back(at, reply);
    }

    void onInput(std::string_view bytes) {
        seen_.bytes.append(bytes);
        if (bytes.substr(0, 2) == "AT")
            put("\r\nCONNECT 9600\r\n");
        std::vector<qovdll::ReaderEvent> events;
        reader_.feed(bytes, events);
        for (const auto& ev : events) {
            if (ev.kind == qovdll::ReaderEvent::Kind::Frame && fd_ >= 0) {
                onRequest(ev.frame);
            } else if (ev.control == qovdll::ENQ) {
                storedRequest_.clear();  // ENQ: the last request is forgotten
                if (answerEnq)
                    put("\x06");
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
            for (const auto now = Clock::now();
                 fd_ >= 0 && !due_.empty() && due_.front().first <= now; due_.pop_front())
                put(due_.front().second);
        }
    }

    int listenFd_ = -1, fd_ = -1, slaveFd_ = -1;  // fd_: the connection or the pty master
    mutable std::mutex mutex_;
    std::function<std::string(const std::string&)> handler_;
    std::deque<Act> script_;
    std::deque<std::pair<Clock::time_point, std::string>> due_;  // bytes to send at a time
    Seen seen_;
    std::string storedRequest_, storedReply_;  // the last executed request (SEQ + DATA), its reply
    qovdll::FrameReader reader_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace qovtest
