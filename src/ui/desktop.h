#pragma once

#include <string>

namespace qov {

// Starting programs and opening documents or addresses through the platform shell.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Starts a program in a normal window; false when it cannot be started.
    virtual bool startProgram(const std::string& path) = 0;

    // Opens a file or address with the program the platform has for it.
    virtual bool openDocument(const std::string& target) = 0;

    // Starts the platform's system information tool; false when there is none.
    virtual bool startSystemInformation() = 0;
};

}  // namespace qov
