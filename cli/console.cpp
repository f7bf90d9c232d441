#include "console.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "command.h"
#include "tables/transfer_run.h"

namespace qovctl {

bool AskYes(const Options& options, const std::string& question) {
    if (options.yes) {
        return true;
    }
    std::cerr << question << " (d/n) " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        return false;
    }
    answer = answer.substr(0, answer.find_last_not_of(" \r") + 1);
    return answer == "d" || answer == "D" || answer == "da" || answer == "Da" || answer == "y" ||
           answer == "yes";
}

qov::Answer AskingDialogs::show(const qov::MessageBox& box) {
    if (box.buttons != qov::Buttons::YesNo) {
        return console_.show(box);
    }
    return AskYes(options_, box.text) ? qov::Answer::Yes : qov::Answer::No;
}

ProgressLine::ProgressLine(qov::tables::TransferProgress& progress)
    : progress_(progress), shown_(isatty(STDERR_FILENO) != 0) {
    progress_.cancelSource = [] { return Interrupted(); };
    if (shown_) {
        progress_.changed = [this] { show(false); };
    }
}

ProgressLine::~ProgressLine() {
    progress_.changed = nullptr;
    if (shown_ && written_) {
        show(true);
        std::cerr << "\n";
    }
}

void ProgressLine::show(bool now) {
    const auto t = Clock::now();
    if (progress_.done() == 0) {
        start_ = t;
    }
    if (!now && t - last_ < std::chrono::milliseconds(100)) {
        return;
    }
    last_ = t;
    const double seconds = std::chrono::duration<double>(t - start_).count();
    char line[160];
    std::snprintf(line, sizeof line, "\r%s %d/%d  %.0f/s   ", progress_.caption().c_str(),
                  progress_.done(), progress_.total(),
                  seconds > 0 ? progress_.done() / seconds : 0.0);
    std::cerr << line << std::flush;
    written_ = true;
}

}  // namespace qovctl
