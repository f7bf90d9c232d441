#pragma once

#include <optional>
#include <string>

#include "link/link_calls.h"

namespace qov {

// Register key codes used by the fiscal procedures (two upper-case hexadecimal characters).
inline constexpr const char* kKeyTotal = "87";
inline constexpr const char* kKeySubtotal = "88";
inline constexpr const char* kKeyMode = "8D";

// The key code of a digit character ('0'..'9' gives "30".."39").
std::string DigitKeyCode(char digit);

// The key press frame: "m" + "01" + the two-character key code.
std::string KeyFrame(const std::string& code);

// Sends a key press with send_frame (the report key sequences); 0 = success.
// FrameBuffer and LinkResult follow the exchange.
int PressKey(LinkCalls& link, const std::string& code);
// Sends a key press with send_frameMD (the remote keyboard); 0 = success.
int PressKeyMD(LinkCalls& link, const std::string& code);

// The register status carried by the reply to "n".
struct RegisterStatus {
    int menuPosition = 0;  // character 3
    int lastError = 0;     // characters 5-6
    int workingState = 0;  // character 7 (1 or 2: a receipt is open)
    int articleCount = 0;  // characters 11-15, integer part

    bool receiptOpen() const { return workingState == 1 || workingState == 2; }
};

// Reads a status reply text into `status`. A field that cannot be read (reply too short,
// non-digits) keeps its value. Returns false, changing nothing, when the menu position
// cannot be read: such a reply counts as no reply.
bool ReadStatusReply(const std::string& reply, RegisterStatus& status);

// The status request: "n" through get_frame, up to `attempts` times, until a readable reply
// comes; then the fields are stored and the result is true. Otherwise false and `status`
// keeps its values.
bool RequestStatus(LinkCalls& link, RegisterStatus& status, int attempts = 3);

// The display request: "r" through get_frame, up to `attempts` times; the first 16
// characters of the first reply, or "Ne" when none came.
inline constexpr const char* kNoDisplay = "Ne";
std::string RequestDisplay(LinkCalls& link, int attempts = 5);

// The three display lines of a display reply: characters 1-16, 18-33 and 35-50; a shorter
// reply gives shorter or empty lines.
struct DisplayLines {
    std::string operator1;
    std::string operator2;
    std::string customer;
};
DisplayLines SplitDisplay(const std::string& reply);

// The remote keyboard's display poll: "r" through get_frameT with `waitMs`. Returns the
// reply count; when it is above 0 `lines` holds the split reply, else `lines` is untouched.
int PollDisplay(LinkCalls& link, DisplayLines& lines, int waitMs = 30000);

// The numeric value of a status field: blanks around it allowed, an optional sign, digits.
// With `integerPart` the text may go on after the digits with a decimal point or comma and
// more digits. nullopt when it holds no number.
std::optional<int> StatusNumber(const std::string& text, bool integerPart = false);

}  // namespace qov
