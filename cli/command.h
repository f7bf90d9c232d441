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
};

enum class LineUse { Open, None };

struct Command {
    std::string name;
    std::string usage;  // one or more lines of the --help text, each ending in '\n'
    LineUse line = LineUse::Open;
    void (*check)(const Options&) = nullptr;  // throws UsageError; null: takes no arguments
    int (*run)(Session&) = nullptr;
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

// True once SIGINT has arrived; runs look at it between two exchanges, never inside one.
bool Interrupted();

}  // namespace qovctl
