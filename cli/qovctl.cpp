// qovctl: the station's transfer procedures on the command line. Message boxes go to the
// error stream as "TITLE: TEXT"; questions are answered by --retries and --yes.
#include <QCoreApplication>

#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/console_dialogs.h"
#include "app/database.h"
#include "app/settings.h"
#include "app/show_error.h"
#include "app/user_store.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "link/station_start.h"
#include "progfile/program_file.h"
#include "tables/transfer_lists.h"
#include "tables/transfer_run.h"

namespace {

using qov::tables::TransferDirection;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: qovctl [--home DIR] [--device DEV] [--speed BAUD] [--load FILE] [--save FILE]\n"
    "              [--message \"LINE1|LINE2|LINE3\"] [--yes] [--retries N] COMMAND [TABLE...]\n"
    "COMMAND: test-link | send TABLE... | receive TABLE...\n"
    "send tables:    departments articles stock operators currencies system header advert\n"
    "                units types message\n"
    "receive tables: departments articles sold operators currencies system vat units types\n";

struct Options {
    std::string home;
    std::string device;
    int speed = 0;  // 0: the stored speed
    std::string load;
    std::string save;
    bool hasMessage = false;
    std::string message;
    bool yes = false;
    int retries = 0;
    std::string command;
    std::vector<std::string> tables;
};

struct UsageError {
    std::string text;
};
struct HelpWanted {};

bool ToInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
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
            if (!ToInt(value(arg), options.speed) || options.speed <= 0) {
                throw UsageError{"--speed needs a positive whole number"};
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
        } else if (arg == "--help" || arg == "-h") {
            throw HelpWanted{};
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError{"unknown option " + arg};
        } else if (options.command.empty()) {
            options.command = arg;
        } else {
            options.tables.push_back(arg);
        }
    }
    if (options.command.empty()) {
        throw UsageError{"no command"};
    }
    if (options.command == "test-link") {
        if (!options.tables.empty()) {
            throw UsageError{"test-link takes no table"};
        }
    } else if (options.command == "send" || options.command == "receive") {
        if (options.tables.empty()) {
            throw UsageError{options.command + " needs at least one table"};
        }
    } else {
        throw UsageError{"unknown command " + options.command};
    }
    return options;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : " ") + name;
    }
    return text;
}

// The list positions of the named tables; a name that is unknown or whose procedure does not
// exist yet is a usage error naming the tables that work.
std::vector<int> SelectTables(TransferDirection direction, const std::vector<std::string>& names) {
    const std::string works = Joined(qov::tables::WorkingTransferNames(direction));
    const char* verb = direction == TransferDirection::Transmit ? "sent" : "received";
    std::vector<int> positions;
    for (const std::string& name : names) {
        const int pos = qov::tables::FindTransferEntry(direction, name);
        if (pos < 0) {
            throw UsageError{"unknown table " + name + "; tables that can be " + verb + ": " +
                             works};
        }
        if (!qov::tables::TransferList(direction)[pos].procedure) {
            throw UsageError{"table " + name + " cannot be " + verb + " yet; tables that can be " +
                             verb + ": " + works};
        }
        positions.push_back(pos);
    }
    return positions;
}

std::vector<std::string> SplitMessage(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        lines.push_back(
            text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) {
            return lines;
        }
        start = bar + 1;
    }
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
        folder += '/';
    }
    return folder;
}

// The station's start: default tables, start values, the stored line set-up of the PORT row
// (the line itself is opened by the command, after --device and --speed). A database that
// cannot be read is reported as the main window reports it, and the values set so far stay
// (CyrillicMode then stays off, as on the station).
void StartLikeTheStation(qov::Station& station) {
    qov::SharedState& s = station.state;
    s.CyrillicMode = false;
    qov::SetStartValues(s);
    try {
        qov::LoadStoredLine(station, {.openLine = false, .emptyReceivedTables = false});
        s.TableCyrillic.fill(true);
        s.ModemMode = false;
        s.CyrillicMode = true;
    } catch (const std::exception& e) {
        qov::ShowError(station.dialogs, e, "frmMain.Form_Load()");
    }
}

int Run(const Options& options) {
    const std::string home = options.home.empty() ? qov::AppFolder() : WithSeparator(options.home);
    const TransferDirection direction =
        options.command == "receive" ? TransferDirection::Receive : TransferDirection::Transmit;
    std::vector<int> selection;
    if (options.command != "test-link") {
        selection = SelectTables(direction, options.tables);
    }
    std::vector<std::string> messageLines;
    if (options.hasMessage) {
        messageLines = SplitMessage(options.message);
        if (messageLines.size() > 3) {
            throw UsageError{"--message takes at most three lines"};
        }
    }

    qov::SharedState state;
    qov::ConsoleDialogs dialogs(std::cerr, options.retries, options.yes);
    auto settings = qov::LoadSettings(state, home);
    auto link = qov::makeQovDllLink(qov::IniFile(home + "QovCom.ini"), home);
    qov::LinkCalls calls(state, *link);
    auto database = qov::CreateSqlDatabase();
    qov::QtUserStore userStore;
    qov::Station station{state, dialogs, calls, *database, userStore};

    StartLikeTheStation(station);
    if (!options.load.empty()) {
        state.ProgramFilePath = options.load;
        if (!qov::LoadProgramFile(state, dialogs)) {
            return kExitUsage;
        }
        state.CyrillicMode = state.CyrillicLanguage;
    }
    if (!options.device.empty()) {
        link->line().setPortDevice(state.PortNumber, options.device);
    }
    if (options.speed > 0) {
        state.BaudRate = options.speed;
    }
    // The line is opened whether or not a PORT row was stored: on the command line the port
    // comes from the settings file's [ports] map or from --device.
    link->Close_RS232();
    link->Init_RS232bd(state.PortNumber, state.BaudRate);

    int status = kExitOk;
    if (options.command == "test-link") {
        if (calls.testConnection() == 0) {
            std::cout << "Veza je u redu!" << std::endl;
        } else {
            dialogs.message("Veza nije u redu!", qov::kTitle, qov::Icon::Critical);
            status = kExitFailed;
        }
    } else {
        qov::tables::TransferRun run(station, direction);
        run.open();
        for (std::size_t i = 0; i < messageLines.size(); ++i) {
            if (static_cast<int>(messageLines[i].size()) > run.messageLineLength()) {
                link->Close_RS232();
                throw UsageError{"message line " + std::to_string(i + 1) + " is longer than " +
                                 std::to_string(run.messageLineLength()) + " characters"};
            }
            run.setMessageLine(static_cast<int>(i), messageLines[i]);
        }
        for (int pos : selection) {
            run.setSelected(pos, true);
        }
        if (!run.invia()) {
            status = kExitFailed;
        }
        for (const auto& result : run.results()) {
            std::cout << run.entries()[result.position].text << ": "
                      << (result.ok ? "OK" : "GRESKA") << "\n";
        }
        std::cout.flush();
    }
    link->Close_RS232();

    if (!options.save.empty()) {
        state.ProgramFilePath = options.save;
        if (!qov::SaveProgramFile(state, dialogs)) {
            status = kExitFailed;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return Run(ParseOptions(args));
    } catch (const HelpWanted&) {
        std::cout << kUsage;
        return kExitOk;
    } catch (const UsageError& error) {
        std::cerr << "qovctl: " << error.text << "\n" << kUsage;
        return kExitUsage;
    }
}
