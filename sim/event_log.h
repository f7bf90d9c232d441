// The frame log: one line per event, bytes outside 0x20-0x7E (and the backslash) as \xHH.
//   > S text     request executed (S is the SEQ byte)
//   < S Xtext    reply sent (X is the status byte)
//   = S          stored reply sent again, nothing executed
//   N in         NAK received from the station
//   N out WHY    NAK sent (WHY: damaged, gap)
//   E ENQ        ENQ received, ACK sent, the last request forgotten
//   F WHAT S     injected fault (drop, damage, lost)
//   M > text     modem command line received;  M < text  modem answer;  M password text
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qov::sim {

class EventLog {
public:
    EventLog() = default;
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Appends to the file (created when missing). False when it cannot be opened.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }

    // Writes "mark" + " " + escaped text + newline, and flushes (tests read while it runs).
    // The first line that cannot be written is reported on stderr, once.
    void write(std::string_view mark, std::string_view text);
    // True once a line could not be written (the log is incomplete).
    bool failed() const { return failed_; }

    static std::string escape(std::string_view bytes);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    bool failed_ = false;
};

}  // namespace qov::sim
