// The line's transport: one TCP listener (one station at a time; a new connection replaces the
// old one) or a pseudo-terminal whose device a symbolic link names. A poll loop moves bytes
// between it and the LineEngine.
#pragma once

#include <csignal>
#include <functional>
#include <string>

#include "line_engine.h"

namespace qov::sim {

class Server {
public:
    Server() = default;
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Port 0 binds a free port; address() then names the real one.
    bool listenTcp(const std::string& host, int port, std::string& error);
    // Opens a pseudo-terminal in raw mode and makes link a symbolic link to its device
    // (an existing symbolic link there is replaced). The link is removed again at the end.
    bool openPty(const std::string& link, std::string& error);
    std::string address() const { return address_; }
    std::string ptyDevice() const { return ptyDevice_; }

    // Runs until *stop is set. waitMask is the signal mask while waiting (the signals that
    // set *stop are blocked outside the wait). afterChange runs when the memory changed, after
    // the reply has been written (during a burst of changes at most every 200 ms), and once
    // more at the end when a change is still unsaved.
    void run(LineEngine& engine, RegisterModel& model, const std::function<void()>& afterChange,
             volatile std::sig_atomic_t* stop, const sigset_t* waitMask);

private:
    void closeClient();
    void writeOut(std::string& pending);

    int listenFd_ = -1;
    int clientFd_ = -1;
    int masterFd_ = -1;
    int slaveFd_ = -1;
    std::string link_;
    std::string ptyDevice_;
    std::string address_;
};

}  // namespace qov::sim
