// A qovctl command: its name, its lines of the usage text, the check of its arguments and the
// run itself. Each group of commands lives in a file of its own and lists its commands in a
// function declared here; commands.cpp puts the groups together.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace qov {
class ConsoleDialogs;
class LinkCalls;
class QovDllLink;
struct SharedState;
struct Station;
}  // namespace qov

namespace qovctl {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitDifferent = 3;      // diff: the register differs from the file
constexpr int kExitInterrupted = 130;  // stopped by SIGINT (Ctrl+C)

// Everything a command works with: the station on the console and the real line.
struct Session {
    const Options& options;
    qov::SharedState& state;
    qov::ConsoleDialogs& dialogs;
    qov::QovDllLink& link;
    qov::LinkCalls& calls;
    qov::Station& station;
    // The program-file sections of the tables a receive read whole (for --save).
    unsigned receivedSections = 0;
};

enum class LineUse { Open, None };

struct Command {
    std::string name;
    std::string usage;  // one or more lines of the --help text, each ending in '\n'
    LineUse line = LineUse::Open;
    void (*check)(const Options&) = nullptr;  // throws UsageError; null: takes no arguments
    int (*run)(Session&) = nullptr;
    // Checks that need the station's state (after --load), before the line is opened.
    void (*checkState)(const Options&, const qov::SharedState&) = nullptr;
};

// The groups.
std::vector<Command> TransferCommands();
std::vector<Command> ArticleCommands();
std::vector<Command> FiscalCommands();
std::vector<Command> DumpCommands();
std::vector<Command> SalesCommands();
std::vector<Command> BackupCommands();
std::vector<Command> TraceCommands();

// Every command, in the order of the usage text.
const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

// The device the session's line was opened on, for the reasons printed after a failure.
std::string LineDevice(const Session& session);

// True once SIGINT has arrived; runs look at it between two exchanges, never inside one.
bool Interrupted();

}  // namespace qovctl
