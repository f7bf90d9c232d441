// Reads a line trace (QovDll.trace) back into lines a technician can follow: control bytes by
// name, frames with their SEQ, data, status byte and CRC check, and one outcome line per
// exchange (attempts, resends, the operation's result).
//
// Output lines, each after the time of day ("23:15:33.123"); a line "-- 2026-12-05" comes first
// and whenever the date changes:
//   -> ENQ                                   a control byte (ENQ, ACK, NAK, SYN)
//   -> SEQ 0x21 "PTNEXT" CRC ok              a frame from the station
//   <- SEQ 0x21 A "..." CRC ok               a reply: status byte, then the text
//   <- broken frame (no ETX): 02 30 ...      bytes that began a frame and did not end one
//   <- text "\r\nOK\r\n"                     other bytes (modem talk)
//   ** open com1 /dev/ttyS0 at 9600: 0       the library's own notes
//   == "PTNEXT": 2 attempts (NAK, reply A), result 83
// Data bytes of the register's Cyrillic code are shown as Cyrillic letters, other bytes outside
// printable ASCII as \xNN. The trace shows what the station sent and heard; whether the
// register executed a frame it got twice is not in it, so a second sending is "resent".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qovdll {

class TraceDecoder {
public:
    // With `errorsOnly`, only the exchanges that took more than one attempt, were resent or
    // failed are shown (with all their lines).
    explicit TraceDecoder(bool errorsOnly = false);
    ~TraceDecoder();
    TraceDecoder(const TraceDecoder&) = delete;
    TraceDecoder& operator=(const TraceDecoder&) = delete;

    // One line of the trace file, without its line end; the readable lines it completes are
    // appended to `out`.
    void feed(std::string_view line, std::vector<std::string>& out);
    // The end of the trace: what is still open.
    void finish(std::vector<std::string>& out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A whole trace text decoded.
std::vector<std::string> DecodeTrace(std::string_view text, bool errorsOnly = false);

// Register bytes as UTF-8 for reading, between double quotes: printable ASCII as it is (with
// \" and \\), the register's Cyrillic code (ISO 8859-5) as Cyrillic letters, \r \n \t and \0
// by name, every other byte as \xNN.
std::string QuotedRegisterText(std::string_view bytes);

}  // namespace qovdll
