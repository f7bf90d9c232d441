#include "test_peer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace qovtest {

using Clock = std::chrono::steady_clock;

TestPeer::TestPeer(Medium medium) : medium_(medium) {
    if (medium == Medium::Tcp) {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(listenFd_, 4) != 0)
            throw std::runtime_error("test peer: cannot listen");
        socklen_t len = sizeof addr;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
        device_ = "tcp://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
    } else {
        fd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0)
            throw std::runtime_error("test peer: no pseudo-terminal");
        device_ = ::ptsname(fd_);
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
        slaveFd_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY);
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    }
    thread_ = std::thread([this] { run(); });
}

TestPeer::~TestPeer() {
    stop_ = true;
    thread_.join();
    if (fd_ >= 0)
        ::close(fd_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

void TestPeer::setHandler(std::function<std::string(const std::string&)> handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void TestPeer::script(std::vector<PeerAction> actions) {
    std::lock_guard lock(mutex_);
    script_.assign(actions.begin(), actions.end());
}

void TestPeer::setAnswerEnq(bool answer) {
    std::lock_guard lock(mutex_);
    answerEnq_ = answer;
}

void TestPeer::setSynPeriodMs(int ms) {
    std::lock_guard lock(mutex_);
    synPeriodMs_ = ms;
}

void TestPeer::streamJunk(std::string junk) {
    std::lock_guard lock(mutex_);
    junk_ = std::move(junk);
    junkPos_ = 0;
}

void TestPeer::sendRaw(std::string bytes) {
    std::lock_guard lock(mutex_);
    outQueue_ += bytes;
}

int TestPeer::executions() const {
    std::lock_guard lock(mutex_);
    return executions_;
}

int TestPeer::enqCount() const {
    std::lock_guard lock(mutex_);
    return enqCount_;
}

int TestPeer::nakCount() const {
    std::lock_guard lock(mutex_);
    return nakCount_;
}

std::vector<qovdll::Frame> TestPeer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string TestPeer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

bool TestPeer::waitReceived(std::size_t n, int timeoutMs) const {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        if (received().size() >= n)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return received().size() >= n;
}

// Called with mutex_ held: writes to the line, all or nothing.
void TestPeer::put(const std::string& bytes) {
    std::size_t done = 0;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(200);
    while (fd_ >= 0 && done < bytes.size() && Clock::now() < giveUp) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } else {
            return;
        }
    }
}

void TestPeer::dropConnection() {
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    if (slaveFd_ >= 0) {
        ::close(slaveFd_);
        slaveFd_ = -1;
    }
    pending_ = false;
    reader_.reset();
}

std::string TestPeer::executeOrRepeat(const qovdll::Frame& frame) {
    const std::string encoded = qovdll::encodeFrame(frame.seq, frame.data);
    const std::uint16_t crc =
        qovdll::crc16(std::string_view(encoded).substr(1, encoded.size() - 6));
    if (stored_.valid && stored_.seq == frame.seq && stored_.crc == crc)
        return stored_.reply;
    ++executions_;
    std::string reply = handler_ ? handler_(frame.data) : "A" + frame.data;
    stored_ = Stored{true, frame.seq, crc, qovdll::encodeFrame(frame.seq, reply)};
    return stored_.reply;
}

void TestPeer::onRequest(const qovdll::Frame& frame) {
    requests_.push_back(frame);
    PeerAction action;
    if (!script_.empty()) {
        action = script_.front();
        script_.pop_front();
    }
    switch (action.kind) {
        case PeerAction::Kind::Normal:
            put(executeOrRepeat(frame));
            break;
        case PeerAction::Kind::Nak:
            put(std::string(1, static_cast<char>(qovdll::NAK)));
            break;
        case PeerAction::Kind::Damage: {
            std::string reply = executeOrRepeat(frame);
            reply.back() = reply.back() == '0' ? '1' : '0';
            put(reply);
            break;
        }
        case PeerAction::Kind::Drop:
            executeOrRepeat(frame);
            break;
        case PeerAction::Kind::Syn:
        case PeerAction::Kind::Delay:
        case PeerAction::Kind::Split: {
            std::string reply = executeOrRepeat(frame);
            if (action.kind == PeerAction::Kind::Split) {
                put(reply.substr(0, reply.size() / 2));
                reply.erase(0, reply.size() / 2);
            }
            pendingReply_ = reply;
            pending_ = true;
            pendingSyn_ = action.kind == PeerAction::Kind::Syn;
            pendingAt_ = Clock::now() + std::chrono::milliseconds(action.ms);
            nextSyn_ = Clock::now();
            break;
        }
        case PeerAction::Kind::Raw:
            if (action.raw)
                put(action.raw(frame.seq));
            break;
        case PeerAction::Kind::Silent:
            break;
        case PeerAction::Kind::Close:
            dropConnection();
            break;
    }
}

void TestPeer::handleInput(const char* data, std::size_t n) {
    received_.append(data, n);
    std::vector<qovdll::ReaderEvent> events;
    reader_.feed(std::string_view(data, n), events);
    for (const auto& ev : events) {
        switch (ev.kind) {
            case qovdll::ReaderEvent::Kind::Frame:
                onRequest(ev.frame);
                break;
            case qovdll::ReaderEvent::Kind::Damaged:
                put(std::string(1, static_cast<char>(qovdll::NAK)));
                break;
            case qovdll::ReaderEvent::Kind::Control:
                if (ev.control == qovdll::ENQ) {
                    ++enqCount_;
                    stored_ = Stored{};
                    if (answerEnq_)
                        put(std::string(1, static_cast<char>(qovdll::ACK)));
                } else if (ev.control == qovdll::NAK) {
                    ++nakCount_;
                    if (stored_.valid)
                        put(stored_.reply);
                }
                break;
        }
        if (fd_ < 0)
            return;
    }
}

void TestPeer::run() {
    char buf[4096];
    auto nextJunk = Clock::now();
    while (!stop_) {
        pollfd fds[2];
        nfds_t count = 0;
        {
            std::lock_guard lock(mutex_);
            if (fd_ >= 0)
                fds[count++] = pollfd{fd_, POLLIN, 0};
            if (listenFd_ >= 0)
                fds[count++] = pollfd{listenFd_, POLLIN, 0};
        }
        ::poll(fds, count, 2);
        std::lock_guard lock(mutex_);
        for (nfds_t i = 0; i < count; ++i) {
            if (fds[i].fd == listenFd_ && (fds[i].revents & POLLIN)) {
                const int conn = ::accept(listenFd_, nullptr, nullptr);
                if (conn >= 0) {
                    dropConnection();
                    int one = 1;
                    ::setsockopt(conn, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                    ::fcntl(conn, F_SETFL, ::fcntl(conn, F_GETFL) | O_NONBLOCK);
                    fd_ = conn;
                }
            } else if (fds[i].fd == fd_ && fd_ >= 0 && (fds[i].revents & (POLLIN | POLLHUP))) {
                const ssize_t n = ::read(fd_, buf, sizeof buf);
                if (n > 0) {
                    handleInput(buf, static_cast<std::size_t>(n));
                } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                    // nothing after all
                } else if (medium_ == Medium::Tcp) {
                    dropConnection();  // the PC closed
                } else {
                    // pty without a reader on the other side: nothing to do
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
            }
        }
        if (fd_ < 0)
            continue;
        const auto now = Clock::now();
        if (pending_) {
            if (now >= pendingAt_) {
                pending_ = false;
                put(pendingReply_);
            } else if (pendingSyn_ && now >= nextSyn_) {
                put(std::string(1, static_cast<char>(qovdll::SYN)));
                nextSyn_ = now + std::chrono::milliseconds(synPeriodMs_);
            }
        }
        if (!outQueue_.empty()) {
            put(outQueue_);
            outQueue_.clear();
        }
        if (!junk_.empty() && now >= nextJunk) {
            std::string chunk;
            for (int k = 0; k < 64; ++k) {
                chunk += junk_[junkPos_];
                junkPos_ = (junkPos_ + 1) % junk_.size();
            }
            put(chunk);
            nextJunk = now + std::chrono::milliseconds(3);
        }
    }
}

}  // namespace qovtest
