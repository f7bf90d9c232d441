#include "options.h"

#include <algorithm>
#include <charconv>

#include "command.h"

namespace qovctl {

namespace {

const char* const kUsageHead =
    "usage: qovctl [--home DIR] [--device DEV] [--speed BAUD] [--load FILE] [--save FILE]\n"
    "              [--message \"LINE1|LINE2|LINE3\"] [--latin] [--yes] [--retries N]\n"
    "              [--fleet FLEET.ini [--jobs N]] COMMAND [ARG...]\n"
    "COMMAND:\n";

const char* const kUsageTail =
    "Message boxes are written to stderr as \"TITLE: TEXT\"; --retries answers Retry that many\n"
    "times before Cancel, --yes answers the questions.\n"
    "Ctrl+C stops a run between two records (exit status 130).\n"
    "--device takes a serial device (/dev/ttyUSB0) or tcp://HOST:PORT; --speed one of 4800,\n"
    "9600, 19200, 38400, 57600 (the stored speed when not given).\n"
    "Script of names and messages: like the station after its start, qovctl works in Cyrillic\n"
    "mode, so Latin letters go to the register as the Cyrillic letters they stand for; a\n"
    "program file given with --load sets the mode from its LNG; --latin sends Latin text. A\n"
    "--message (UTF-8) may hold Cyrillic letters; Latin letters with marks have no code.\n"
    "--save FILE merges the sections of the tables the run received into FILE (a new FILE gets\n"
    "every key); when the run fails FILE is not touched. Exit status: 0 done, 1 failed,\n"
    "2 usage error, 130 stopped by Ctrl+C.\n"
    "--fleet runs the command on every register of FLEET.ini ([registers] name=device), N at a\n"
    "time (default 8), each on its own line; {name} in an argument becomes the register's name.\n";

}  // namespace

bool ToInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

std::string UsageText() {
    std::string text = kUsageHead;
    for (const Command& command : Commands()) {
        text += command.usage;
    }
    return text + kUsageTail;
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    std::size_t i = 0;
    auto value = [&](const std::string& name) -> std::string {
        if (i + 1 >= args.size()) {
            throw UsageError{name + " needs a value"};
        }
        return args[++i];
    };
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--home") {
            options.home = value(arg);
        } else if (arg == "--device") {
            options.device = value(arg);
        } else if (arg == "--speed") {
            const int speeds[] = {4800, 9600, 19200, 38400, 57600};
            if (!ToInt(value(arg), options.speed) || std::find(std::begin(speeds), std::end(speeds),
                                                               options.speed) == std::end(speeds)) {
                throw UsageError{"--speed takes 4800, 9600, 19200, 38400 or 57600"};
            }
        } else if (arg == "--load") {
            options.load = value(arg);
        } else if (arg == "--save") {
            options.save = value(arg);
        } else if (arg == "--message") {
            options.hasMessage = true;
            options.message = value(arg);
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--retries") {
            if (!ToInt(value(arg), options.retries) || options.retries < 0) {
                throw UsageError{"--retries needs a whole number, 0 or more"};
            }
        } else if (arg == "--received") {
            options.received = true;
        } else if (arg == "--sold") {
            options.sold = true;
        } else if (arg == "--cyrillic") {
            options.cyrillic = true;
        } else if (arg == "--skip-invalid") {
            options.skipInvalid = true;
        } else if (arg == "--latin") {
            options.latin = true;
        } else if (arg == "--line") {
            const std::string line = value(arg);
            const auto colon = line.rfind(':');
            if (colon == std::string::npos || colon == 0 || colon + 1 == line.size()) {
                throw UsageError{"--line needs CODE:QTY"};
            }
            options.receiptLines.emplace_back(line.substr(0, colon), line.substr(colon + 1));
        } else if (arg == "--cheque") {
            options.cheque = value(arg);
        } else if (arg == "--card") {
            options.card = value(arg);
        } else if (arg == "--cash") {
            options.cash = value(arg);
        } else if (arg == "--out") {
            options.out = value(arg);
        } else if (arg == "--errors") {
            options.errorsOnly = true;
        } else if (arg == "--articles") {
            options.articlesFile = value(arg);
        } else if (arg == "--fleet") {
            options.fleet = value(arg);
        } else if (arg == "--jobs") {
            if (!ToInt(value(arg), options.jobs) || options.jobs <= 0) {
                throw UsageError{"--jobs needs a positive whole number"};
            }
        } else if (arg == "--help" || arg == "-h") {
            throw HelpWanted{};
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError{"unknown option " + arg};
        } else if (options.command.empty()) {
            options.command = arg;
        } else {
            options.arguments.push_back(arg);
        }
    }
    if (options.command.empty()) {
        throw UsageError{"no command"};
    }
    const Command* command = FindCommand(options.command);
    if (command == nullptr) {
        throw UsageError{"unknown command " + options.command};
    }
    if (command->check != nullptr) {
        command->check(options);
    } else if (!options.arguments.empty()) {
        throw UsageError{options.command + " takes no table"};
    }
    if (options.command != "receipt" && (!options.receiptLines.empty() || !options.cheque.empty() ||
                                         !options.card.empty() || !options.cash.empty())) {
        throw UsageError{"--line, --cheque, --card and --cash are for receipt"};
    }
    if (options.errorsOnly && options.command != "trace") {
        throw UsageError{"--errors is for trace"};
    }
    if (!options.articlesFile.empty() && options.command != "diff") {
        throw UsageError{"--articles is for diff"};
    }
    if (!options.out.empty() && options.command != "dump") {
        throw UsageError{"--out is for dump"};
    }
    if (options.received && options.sold) {
        throw UsageError{"--received and --sold exclude each other"};
    }
    return options;
}

}  // namespace qovctl
