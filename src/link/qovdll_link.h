#pragma once

#include <memory>
#include <string>

#include "app/ini_file.h"
#include "link/link.h"
#include "qovdll/line.h"

namespace qov {

// The Link service backed by the real link library: one QovDll line.
class QovDllLink : public Link {
public:
    // The trace file's name in the program folder.
    static constexpr const char* kTraceFileName = "QovDll.trace";

    QovDllLink() = default;

    qovdll::Line& line() { return line_; }
    const qovdll::Line& line() const { return line_; }

    // Takes the port map ([ports] com1..com8: a device path or "tcp://HOST:PORT"; a missing key
    // leaves the platform's n-th serial port) and the trace switch ([link] trace=1, the trace
    // then going to QovDll.trace in `programFolder`) from the settings file.
    void configure(const IniFile& settings, const std::string& programFolder);

    int Init_RS232bd(int port, int speed) override { return line_.Init_RS232bd(port, speed); }
    int Init_RS232(int port) override { return line_.Init_RS232(port); }
    void Close_RS232() override { line_.Close_RS232(); }

    int send_frame(const std::string& text, int length) override {
        return line_.send_frame(text, length);
    }
    int send_frameM(const std::string& text, int length) override {
        return line_.send_frameM(text, length);
    }
    int send_frameMD(const std::string& text, int length) override {
        return line_.send_frameMD(text, length);
    }

    int get_frame(const std::string& request, int length, ReplyBuffer& reply) override {
        return line_.get_frame(request, length, reply);
    }
    int get_frameM(const std::string& request, int length, ReplyBuffer& reply) override {
        return line_.get_frameM(request, length, reply);
    }
    int get_frame120s(const std::string& request, int length, ReplyBuffer& reply) override {
        return line_.get_frame120s(request, length, reply);
    }
    int get_frameT(const std::string& request, int length, ReplyBuffer& reply,
                   int waitMs) override {
        return line_.get_frameT(request, length, reply, waitMs);
    }

    int send_data(const std::string& text, int length) override {
        return line_.send_data(text, length);
    }
    void read_data(int& count, std::string& buffer) override { line_.read_data(count, buffer); }

    int Testconnessione() override { return line_.Testconnessione(); }
    int TestconnessioneM() override { return line_.TestconnessioneM(); }
    int Invialogo(const std::string& path) override { return line_.Invialogo(path); }

    void setIdleHook(std::function<void()> hook) override { line_.setIdleHook(std::move(hook)); }

private:
    qovdll::Line line_;
};

// A QovDllLink set up from the settings file (see QovDllLink::configure).
std::unique_ptr<QovDllLink> makeQovDllLink(const IniFile& settings,
                                           const std::string& programFolder);

}  // namespace qov
