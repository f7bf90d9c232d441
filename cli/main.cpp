// qovctl: the station's procedures on the command line. Message boxes go to the error stream
// as "TITLE: TEXT"; questions are answered by --retries and --yes.
#include <QCoreApplication>

#include <csignal>
#include <filesystem>
#include <iostream>

#include "app/console_dialogs.h"
#include "app/database.h"
#include "app/file_check.h"
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

// A failure of the run that the station's own texts do not explain: the reason on a line of
// its own after them.
void Why(const std::string& reason) {
    std::cerr << "qovctl: " << reason << "\n";
}

// --save FILE: the sections of the tables the run received are merged into FILE; a new FILE
// gets every key; when the run failed, FILE is not touched.
int SaveAfterRun(const Options& options, qov::SharedState& state, qov::Dialogs& dialogs,
                 unsigned receivedSections, int status) {
    const bool fresh = qov::TextFileProblem(options.save) == "file not found";
    if (status != kExitOk) {
        Why(options.save + " not written: the run did not succeed");
        return status;
    }
    if (const std::string problem = qov::ReplaceFileProblem(options.save); !problem.empty()) {
        Why(options.save + ": " + problem);
        return kExitFailed;
    }
    const unsigned sections = fresh ? qov::kAllSections : receivedSections;
    if (sections == 0) {
        return status;
    }
    state.ProgramFilePath = options.save;
    return qov::SaveProgramFile(state, dialogs, sections) ? status : kExitFailed;
}

int Run(const Options& options) {
    const Command& command = *FindCommand(options.command);
    if (!options.home.empty() && !std::filesystem::is_directory(options.home)) {
        Why("--home " + options.home + ": no such folder");
        return kExitFailed;
    }
    const std::string home = options.home.empty() ? qov::AppFolder() : WithSeparator(options.home);
    if (const std::string problem = qov::TextFileProblem(home + "QovCom.ini"); !problem.empty()) {
        Why(home + "QovCom.ini: " + problem + " (the settings' defaults are used)");
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
        std::string reason;
        if (!qov::LoadProgramFile(state, dialogs, &reason)) {
            Why(options.load + ": " + reason);
            return kExitFailed;
        }
        state.CyrillicMode = state.CyrillicLanguage;
    }
    if (options.latin) {
        state.CyrillicMode = false;
    }
    if (!options.device.empty()) {
        link->line().setPortDevice(state.PortNumber, options.device);
    }
    if (options.speed > 0) {
        state.BaudRate = options.speed;
    }
    // The line is opened whether or not a PORT row was stored: on the command line the port
    // comes from the settings file's [ports] map or from --device.
    if (command.checkState != nullptr) {
        command.checkState(options, state);
    }
    link->Close_RS232();
    if (command.line == LineUse::Open &&
        link->Init_RS232bd(state.PortNumber, state.BaudRate) != 0) {
        dialogs.message("Veza nije u redu!", qov::kTitle, qov::Icon::Critical);
        Why(link->line().openProblem());
        return options.save.empty() ? kExitFailed
                                    : SaveAfterRun(options, state, dialogs, 0, kExitFailed);
    }

    Session session{options, state, dialogs, *link, calls, station, 0};
    int status = kExitUsage;
    try {
        status = command.run(session);
    } catch (...) {
        link->Close_RS232();
        throw;
    }
    link->Close_RS232();

    if (!options.save.empty()) {
        status = SaveAfterRun(options, state, dialogs, session.receivedSections, status);
    }
    return status;
}

}  // namespace

std::string LineDevice(const Session& session) {
    return session.link.line().portDevice(session.state.PortNumber);
}

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
    int status = qovctl::kExitFailed;
    try {
        const qovctl::Options options = qovctl::ParseOptions(args);
        status = options.fleet.empty() ? qovctl::Run(options) : qovctl::RunFleet(options, args);
    } catch (const qovctl::HelpWanted&) {
        std::cout << qovctl::UsageText();
        status = qovctl::kExitOk;
    } catch (const qovctl::UsageError& error) {
        std::cerr << "qovctl: " << error.text << "\n" << qovctl::UsageText();
        return qovctl::kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "qovctl: " << error.what() << "\n";
        status = qovctl::kExitFailed;
    }
    // Output that did not reach its file (a full disk, a closed pipe) is a failed run.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "qovctl: standard output could not be written\n";
        return status == qovctl::kExitOk ? qovctl::kExitFailed : status;
    }
    return status;
}
