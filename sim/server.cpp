#include "server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace qov::sim {

namespace {

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

std::string lastError() {
    return std::strerror(errno);
}

}  // namespace

Server::~Server() {
    closeClient();
    if (listenFd_ >= 0)
        ::close(listenFd_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    if (masterFd_ >= 0)
        ::close(masterFd_);
    if (!link_.empty()) {
        struct stat st {};
        if (lstat(link_.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            ::unlink(link_.c_str());
    }
}

bool Server::listenTcp(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = "cannot resolve " + host + ": " + gai_strerror(rc);
        return false;
    }
    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0)
            continue;
        const int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(fd, ai->ai_addr, ai->ai_addrlen) == 0 && ::listen(fd, 4) == 0) {
            listenFd_ = fd;
            break;
        }
        error = "cannot listen on " + host + ":" + service + ": " + lastError();
        ::close(fd);
    }
    freeaddrinfo(found);
    if (listenFd_ < 0) {
        if (error.empty())
            error = "cannot listen on " + host + ":" + service;
        return false;
    }
    setNonBlocking(listenFd_);
    sockaddr_storage bound{};
    socklen_t len = sizeof bound;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&bound), &len);
    int realPort = port;
    if (bound.ss_family == AF_INET)
        realPort = ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    else if (bound.ss_family == AF_INET6)
        realPort = ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
    const bool v6 = host.find(':') != std::string::npos;
    address_ = (v6 ? "[" + host + "]" : host) + ":" + std::to_string(realPort);
    return true;
}

bool Server::openPty(const std::string& link, std::string& error) {
    masterFd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0 || grantpt(masterFd_) != 0 || unlockpt(masterFd_) != 0) {
        error = "cannot open a pseudo-terminal: " + lastError();
        return false;
    }
    const char* name = ptsname(masterFd_);
    if (!name) {
        error = "cannot name the pseudo-terminal: " + lastError();
        return false;
    }
    ptyDevice_ = name;
    // Holding the device open keeps the line alive between the station's opens and closes;
    // raw mode from the start, so nothing is echoed back before the station sets it up.
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd_ < 0) {
        error = "cannot open " + ptyDevice_ + ": " + lastError();
        return false;
    }
    termios tio{};
    if (tcgetattr(slaveFd_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slaveFd_, TCSANOW, &tio);
    }
    setNonBlocking(masterFd_);
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(name, link.c_str()) != 0) {
        error = "cannot create the link " + link + ": " + lastError();
        return false;
    }
    link_ = link;
    address_ = link;
    return true;
}

void Server::closeClient() {
    if (clientFd_ >= 0)
        ::close(clientFd_);
    clientFd_ = -1;
}

void Server::writeOut(std::string& pending) {
    const int fd = masterFd_ >= 0 ? masterFd_ : clientFd_;
    if (fd < 0) {
        pending.clear();  // nobody on the line
        return;
    }
    while (!pending.empty()) {
        const ssize_t n = masterFd_ >= 0 ? ::write(fd, pending.data(), pending.size())
                                         : ::send(fd, pending.data(), pending.size(), MSG_NOSIGNAL);
        if (n > 0) {
            pending.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (pending.size() > (1u << 20))
                pending.clear();  // a pty nobody reads: forget rather than grow
            return;
        }
        pending.clear();  // the peer went away
        return;
    }
}

void Server::run(LineEngine& engine, RegisterModel& model, const std::function<void()>& afterChange,
                 volatile std::sig_atomic_t* stop, const sigset_t* waitMask) {
    // The memory is saved after a change once the reply is out; during a burst of changes
    // (a table being programmed) at most every kSaveEveryMs, and always before the end.
    constexpr auto kSaveEvery = std::chrono::milliseconds(200);
    std::string pending;
    std::string buffer(65536, '\0');
    bool dirty = false;
    LineEngine::Time lastSave{};
    while (!*stop) {
        auto now = LineEngine::Clock::now();
        engine.poll(now);
        engine.takeDue(now, pending);
        if (!pending.empty())
            writeOut(pending);
        dirty = model.takeChanged() || dirty;
        if (dirty && now - lastSave >= kSaveEvery) {
            if (afterChange)
                afterChange();
            dirty = false;
            lastSave = LineEngine::Clock::now();
        }

        timespec ts{};
        timespec* timeout = nullptr;
        std::optional<LineEngine::Time> next = engine.nextEvent();
        if (dirty && (!next || lastSave + kSaveEvery < *next))
            next = lastSave + kSaveEvery;
        if (next) {
            const auto wait = *next - LineEngine::Clock::now();
            const long long ns = std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count());
            ts.tv_sec = static_cast<time_t>(ns / 1000000000);
            ts.tv_nsec = static_cast<long>(ns % 1000000000);
            timeout = &ts;
        }
        pollfd fds[3];
        nfds_t count = 0;
        int listenAt = -1, clientAt = -1, masterAt = -1;
        const short out = pending.empty() ? 0 : POLLOUT;
        if (listenFd_ >= 0) {
            listenAt = static_cast<int>(count);
            fds[count++] = pollfd{listenFd_, POLLIN, 0};
        }
        if (clientFd_ >= 0) {
            clientAt = static_cast<int>(count);
            fds[count++] = pollfd{clientFd_, static_cast<short>(POLLIN | out), 0};
        }
        if (masterFd_ >= 0) {
            masterAt = static_cast<int>(count);
            fds[count++] = pollfd{masterFd_, static_cast<short>(POLLIN | out), 0};
        }
        const int rc = ppoll(fds, count, timeout, waitMask);
        if (rc < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        now = LineEngine::Clock::now();
        if (listenAt >= 0 && (fds[listenAt].revents & POLLIN)) {
            const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd >= 0) {
                closeClient();  // the station reopened the line
                clientFd_ = fd;
                const int one = 1;
                setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                engine.reset();
                pending.clear();
                continue;
            }
        }
        if (clientAt >= 0 && fds[clientAt].revents) {
            const ssize_t n = ::recv(clientFd_, buffer.data(), buffer.size(), 0);
            if (n > 0) {
                engine.receive(std::string_view(buffer.data(), static_cast<std::size_t>(n)), now);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                closeClient();
                engine.reset();
                pending.clear();
            }
        }
        if (masterAt >= 0 && (fds[masterAt].revents & POLLIN)) {
            const ssize_t n = ::read(masterFd_, buffer.data(), buffer.size());
            if (n > 0)
                engine.receive(std::string_view(buffer.data(), static_cast<std::size_t>(n)), now);
        }
    }
    if ((model.takeChanged() || dirty) && afterChange)
        afterChange();
}

}  // namespace qov::sim
