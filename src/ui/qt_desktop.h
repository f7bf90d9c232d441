#pragma once

#include "ui/desktop.h"

namespace qov {

// The platform shell through Qt: programs started detached, documents and addresses
// opened with the desktop's handler.
class QtDesktop : public Desktop {
public:
    bool startProgram(const std::string& path) override;
    bool openDocument(const std::string& target) override;
    bool startSystemInformation() override;
};

}  // namespace qov
