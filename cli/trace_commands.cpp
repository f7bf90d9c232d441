// trace: a line trace (QovDll.trace) decoded into readable lines.
#include <fstream>
#include <iostream>

#include "command.h"
#include "qovdll/trace_decoder.h"

namespace qovctl {

namespace {

void CheckTraceFile(const Options& options) {
    if (options.arguments.size() != 1) {
        throw UsageError{"trace needs one trace file"};
    }
}

int Trace(Session& s) {
    const std::string& path = s.options.arguments.front();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "qovctl: " << path << " cannot be read\n";
        return kExitFailed;
    }
    qovdll::TraceDecoder decoder(s.options.errorsOnly);
    std::vector<std::string> lines;
    auto print = [&lines] {
        for (const std::string& line : lines) {
            std::cout << line << "\n";
        }
        lines.clear();
    };
    for (std::string line; std::getline(in, line);) {
        decoder.feed(line, lines);
        print();
    }
    decoder.finish(lines);
    print();
    std::cout.flush();
    return kExitOk;
}

}  // namespace

std::vector<Command> TraceCommands() {
    return {
        {"trace",
         "  trace FILE         decodes a line trace (QovDll.trace): control bytes, frames,\n"
         "                     CRC checks and each exchange's attempts and result;\n"
         "                     --errors: only exchanges resent or failed\n",
         LineUse::None, CheckTraceFile, Trace},
    };
}

}  // namespace qovctl
