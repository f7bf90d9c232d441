#include "trace.h"

#include <chrono>
#include <ctime>

namespace qovdll {

namespace {

// "2026-12-05 23:15:33.123 " in local time, without locale dependence.
std::string timestamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &secs);
#else
    localtime_r(&secs, &tm);
#endif
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(ms));
    return buf;
}

}  // namespace

Trace::Trace(std::string path) : path_(std::move(path)) {
    file_ = std::fopen(path_.c_str(), "ab");
}

Trace::~Trace() {
    if (file_)
        std::fclose(file_);
}

void Trace::note(std::string_view text) {
    writeLine(timestamp() + "** " + std::string(text));
}

void Trace::record(const char* direction, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    // Sixteen bytes a line: hex, then the printable ones as they are, others as dots.
    for (std::size_t start = 0; start < bytes.size(); start += 16) {
        const std::string_view part = bytes.substr(start, 16);
        std::string line = timestamp() + direction;
        std::string text;
        for (char c : part) {
            const auto b = static_cast<unsigned char>(c);
            line += ' ';
            line += kHex[b >> 4];
            line += kHex[b & 0xF];
            text += (b >= 0x20 && b < 0x7F) ? c : '.';
        }
        line.append((16 - part.size()) * 3, ' ');
        line += "  |" + text + "|";
        writeLine(line);
    }
}

void Trace::writeLine(const std::string& line) {
    if (!file_)
        return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace qovdll
