// qovctl: the station's procedures on the command line. Message boxes go to the error stream
// as "TITLE: TEXT"; questions are answered by --retries and --yes.
#include <QCoreApplication>

#include <csignal>
#include <iostream>

#include "app/console_dialogs.h"
#include "app/database.h"
#include "app/settings.h"
#include "app/show_error.h"
#include "app/user_store.h"
#include "command.h"
#include "fleet.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "link/station_start.h"
#include "progfile/program_file.h"

namespace qovctl {

namespace {

// Set by SIGINT; the runs look at it between two exchanges, never inside one.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
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
    const Command& command = *FindCommand(options.command);
    const std::string home = options.home.empty() ? qov::AppFolder() : WithSeparator(options.home);

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
    if (command.line == LineUse::Open) {
        link->Init_RS232bd(state.PortNumber, state.BaudRate);
    }

    Session session{options, state, dialogs, *link, calls, station};
    int status = kExitUsage;
    try {
        status = command.run(session);
    } catch (...) {
        link->Close_RS232();
        throw;
    }
    link->Close_RS232();

    if (!options.save.empty()) {
        state.ProgramFilePath = options.save;
        if (!qov::SaveProgramFile(state, dialogs) && status == kExitOk) {
            status = kExitFailed;
        }
    }
    return status;
}

}  // namespace

bool Interrupted() {
    return gInterrupted != 0;
}

}  // namespace qovctl

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // No SA_RESTART: a wait on the line returns to its loop, which goes on to the end of the
    // exchange; the run then stops before the next record.
    struct sigaction interrupt {};
    interrupt.sa_handler = qovctl::OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const qovctl::Options options = qovctl::ParseOptions(args);
        if (!options.fleet.empty()) {
            return qovctl::RunFleet(options, args);
        }
        return qovctl::Run(options);
    } catch (const qovctl::HelpWanted&) {
        std::cout << qovctl::UsageText();
        return qovctl::kExitOk;
    } catch (const qovctl::UsageError& error) {
        std::cerr << "qovctl: " << error.text << "\n" << qovctl::UsageText();
        return qovctl::kExitUsage;
    }
}
