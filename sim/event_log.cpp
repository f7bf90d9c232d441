#include "event_log.h"

#include <cerrno>
#include <cstring>

namespace qov::sim {

EventLog::~EventLog() {
    if (file_)
        std::fclose(file_);
}

bool EventLog::open(const std::string& path) {
    if (file_)
        std::fclose(file_);
    file_ = std::fopen(path.c_str(), "ab");
    path_ = path;
    failed_ = false;
    return file_ != nullptr;
}

std::string EventLog::escape(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b <= 0x7E && b != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

void EventLog::write(std::string_view mark, std::string_view text) {
    if (!file_)
        return;
    std::string line(mark);
    line += ' ';
    line += escape(text);
    line += '\n';
    errno = 0;
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
    if ((std::fflush(file_) != 0 || !written) && !failed_) {
        failed_ = true;
        std::fprintf(stderr, "qovreg: cannot write the log %s: %s\n", path_.c_str(),
                     errno != 0 ? std::strerror(errno) : "write failed");
    }
}

}  // namespace qov::sim
