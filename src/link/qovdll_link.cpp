#include "link/qovdll_link.h"

#include <type_traits>

namespace qov {

static_assert(std::is_same_v<ReplyBuffer, qovdll::ReplyBuffer>,
              "the station's reply buffer is the library's");

namespace {

// "1", "yes", "true", "on" (any case) switch a flag on.
bool isOn(const std::string& value) {
    std::string v;
    for (char c : value)
        v += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return v == "1" || v == "yes" || v == "true" || v == "on";
}

}  // namespace

void QovDllLink::configure(const IniFile& settings, const std::string& programFolder) {
    for (int port = 1; port <= 8; ++port) {
        const std::string key = "com" + std::to_string(port);
        line_.setPortDevice(port, settings.getString("ports", key, ""));
    }
    if (isOn(settings.getString("link", "trace", "0"))) {
        std::string path = programFolder;
        if (!path.empty() && path.back() != '/' && path.back() != '\\')
            path += '/';
        line_.setTraceFile(path + kTraceFileName);
    } else {
        line_.setTraceFile({});
    }
}

std::unique_ptr<QovDllLink> makeQovDllLink(const IniFile& settings,
                                           const std::string& programFolder) {
    auto link = std::make_unique<QovDllLink>();
    link->configure(settings, programFolder);
    return link;
}

}  // namespace qov
