// dump: the register's fiscal or program memory into a text file, block by block.
#include <filesystem>
#include <iostream>

#include "app/console_dialogs.h"
#include "app/settings.h"
#include "command.h"
#include "console.h"
#include "dumps/memory_dump.h"
#include "link/link_calls.h"
#include "link/station.h"

namespace qovctl {

namespace {

using qov::dumps::MemoryKind;

MemoryKind KindOf(const Options& options) {
    return options.arguments.at(0) == "fiscal" ? MemoryKind::Fiscal : MemoryKind::Program;
}

void CheckDump(const Options& options) {
    if (options.arguments.size() != 1 ||
        (options.arguments[0] != "fiscal" && options.arguments[0] != "program")) {
        throw UsageError{"dump needs one memory: fiscal or program"};
    }
}

// The file goes where --out says, else into the program folder as on the station. The line is
// tested first: a register that does not answer would otherwise cost five requests a block.
int Dump(Session& s) {
    const std::string home = s.options.home.empty() ? qov::AppFolder() : s.options.home;
    qov::dumps::MemoryDump dump(s.station, KindOf(s.options), std::filesystem::path(home));
    if (!s.options.out.empty()) {
        dump.setDumpFile(s.options.out);
    }
    if (s.calls.testConnection() != 0) {
        s.dialogs.message("Veza nije u redu!", qov::kTitle, qov::Icon::Critical);
        return kExitFailed;
    }
    dump.progress().setCaption(std::string(dump.layout().caption) + ":");
    {
        ProgressLine line(dump.progress());
        dump.sve();
    }
    const qov::dumps::DumpOutcome& outcome = dump.outcome();
    if (!outcome.fileCreated) {
        return kExitFailed;
    }
    if (outcome.cancelled) {
        std::cerr << dump.text() << "\n";
        return kExitInterrupted;
    }
    std::cout << dump.dumpFile().string() << ": " << dump.text() << std::endl;
    return outcome.complete() ? kExitOk : kExitFailed;
}

}  // namespace

std::vector<Command> DumpCommands() {
    return {
        {"dump",
         "  dump fiscal|program [--out FILE]\n"
         "                     reads the fiscal memory (8192 blocks) or the program memory\n"
         "                     (16384 blocks) into FILE, by default fiscal.txt or prgqov.txt\n"
         "                     in the program folder; a block the register does not give\n"
         "                     after five requests is written as ADDRESS ?? (exit 1)\n",
         LineUse::Open, CheckDump, Dump},
    };
}

}  // namespace qovctl
