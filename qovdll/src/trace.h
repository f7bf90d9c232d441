// The line trace: every byte in and out, appended to a file with a timestamp.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qovdll {

class Trace {
public:
    explicit Trace(std::string path);
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    const std::string& path() const { return path_; }
    void bytesOut(std::string_view bytes) { record("->", bytes); }
    void bytesIn(std::string_view bytes) { record("<-", bytes); }
    // A line of text (open, close, results).
    void note(std::string_view text);

private:
    void record(const char* direction, std::string_view bytes);
    void writeLine(const std::string& line);

    std::string path_;
    std::FILE* file_ = nullptr;
};

}  // namespace qovdll
