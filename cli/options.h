// qovctl's command line: the options every command may use and the parser that reads them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qovctl {

struct Options {
    std::string home;
    std::string device;
    int speed = 0;  // 0: the stored speed
    std::string load;
    std::string save;
    bool hasMessage = false;
    std::string message;
    bool yes = false;
    int retries = 0;
    bool received = false;
    bool sold = false;
    bool cyrillic = false;
    bool skipInvalid = false;
    bool latin = false;  // names and messages go as Latin text (the station's Latin mode)
    std::vector<std::pair<std::string, std::string>> receiptLines;  // code, quantity
    std::string cheque, card, cash;
    std::string out;  // dump --out FILE
    bool errorsOnly = false;   // trace --errors
    std::string articlesFile;  // diff --articles CSV
    std::string fleet;         // --fleet FLEET.ini: the command on every register of it
    int jobs = 8;              // --jobs N: registers at a time in a fleet run
    std::string command;
    std::vector<std::string> arguments;  // the words after the command
};

// A command line that cannot be run; the text names what is wrong.
struct UsageError {
    std::string text;
};
struct HelpWanted {};

bool ToInt(const std::string& text, int& value);

// Reads the options and the command; the command's own check runs on the result.
Options ParseOptions(const std::vector<std::string>& args);

// The whole --help text: the options, then each command's lines.
std::string UsageText();

}  // namespace qovctl
