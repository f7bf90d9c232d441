// A scriptable register stand-in for the link tests: speaks the frame protocol over TCP
// loopback or a pseudo-terminal, on its own thread.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "qovdll/frame_codec.h"

namespace qovtest {

// How the peer answers one intact request frame. Requests beyond the script get Normal.
struct PeerAction {
    enum class Kind {
        Normal,  // execute (or repeat the stored reply) and answer
        Nak,     // answer NAK, do not execute
        Damage,  // execute (or repeat) and send the reply with a broken CRC
        Drop,    // execute (or repeat) and send nothing
        Syn,     // execute, send SYN every synPeriodMs for ms, then the reply
        Delay,   // execute, answer after ms (no SYN meanwhile)
        Split,   // execute, send the reply's first half, the rest after ms
        Raw,     // send raw(seq) instead of a reply, do not execute
        Silent,  // send nothing, do not execute
        Close,   // drop the connection
    } kind = Kind::Normal;
    int ms = 0;
    std::function<std::string(char seq)> raw;
};

class TestPeer {
public:
    enum class Medium { Tcp, Pty };

    explicit TestPeer(Medium medium);
    ~TestPeer();
    TestPeer(const TestPeer&) = delete;
    TestPeer& operator=(const TestPeer&) = delete;

    // What a Line opens: "tcp://127.0.0.1:PORT" or the pty slave path.
    std::string device() const { return device_; }

    // Reply DATA for an executed request; default: "A" + the request text.
    void setHandler(std::function<std::string(const std::string&)> handler);
    void script(std::vector<PeerAction> actions);
    void setAnswerEnq(bool answer);
    void setSynPeriodMs(int ms);
    // Sends junk bytes (from `junk`, cycled) every few milliseconds until stopped.
    void streamJunk(std::string junk);
    // Bytes pushed to the line at once (modem answers for read_data).
    void sendRaw(std::string bytes);

    int executions() const;
    int enqCount() const;
    int nakCount() const;                         // NAKs received from the PC
    std::vector<qovdll::Frame> requests() const;  // every intact request frame, in order
    std::string received() const;                 // every byte received
    // Waits until at least n bytes have been received or timeoutMs passed.
    bool waitReceived(std::size_t n, int timeoutMs) const;

private:
    struct Stored {
        bool valid = false;
        char seq = 0;
        std::uint16_t crc = 0;
        std::string reply;
    };

    void run();
    void handleInput(const char* data, std::size_t n);
    void onRequest(const qovdll::Frame& frame);
    std::string executeOrRepeat(const qovdll::Frame& frame);
    void put(const std::string& bytes);
    void dropConnection();

    Medium medium_;
    std::string device_;
    int listenFd_ = -1;
    int fd_ = -1;       // connection or pty master
    int slaveFd_ = -1;  // the peer's own hold on the pty slave (keeps the master readable)
    std::thread thread_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;
    std::function<std::string(const std::string&)> handler_;
    std::deque<PeerAction> script_;
    bool answerEnq_ = true;
    int synPeriodMs_ = 20;
    std::string junk_;
    std::size_t junkPos_ = 0;
    std::string outQueue_;
    int executions_ = 0;
    int enqCount_ = 0;
    int nakCount_ = 0;
    std::vector<qovdll::Frame> requests_;
    std::string received_;
    Stored stored_;
    qovdll::FrameReader reader_;
    // A reply (or its rest) held back, with or without SYN meanwhile.
    bool pending_ = false;
    bool pendingSyn_ = false;  // SYN while it waits
    std::string pendingReply_;
    std::chrono::steady_clock::time_point pendingAt_, nextSyn_;
};

}  // namespace qovtest
