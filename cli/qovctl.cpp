// qovctl: the station's transfer procedures on the command line. Message boxes go to the
// error stream as "TITLE: TEXT"; questions are answered by --retries and --yes.
#include <QCoreApplication>

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/console_dialogs.h"
#include "app/database.h"
#include "app/settings.h"
#include "app/show_error.h"
#include "app/user_store.h"
#include "articles/article_csv.h"
#include "articles/register_articles.h"
#include "fiscal/fiscal_form.h"
#include "fiscal/keyboard.h"
#include "fiscal/logo.h"
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
constexpr int kExitInterrupted = 130;  // stopped by SIGINT (Ctrl+C)

// Set by SIGINT; the runs look at it between two exchanges, never inside one.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
}

const char* const kUsage =
    "usage: qovctl [--home DIR] [--device DEV] [--speed BAUD] [--load FILE] [--save FILE]\n"
    "              [--message \"LINE1|LINE2|LINE3\"] [--yes] [--retries N] COMMAND [TABLE...]\n"
    "              [--received|--sold] [--cyrillic] [--skip-invalid]\n"
    "COMMAND: test-link | send TABLE... | receive TABLE... | delete-articles | clear-sales\n"
    "         import-articles FILE | export-articles FILE | list-articles\n"
    "         report daily|snapshot|periodic DD.MM.YYYY DD.MM.YYYY | status | identity\n"
    "         receipt --line CODE:QTY... [--cheque AMOUNT] [--card AMOUNT] [--cash AMOUNT]\n"
    "         key NAME... | display | logo 1|2 FILE.bmp\n"
    "send tables:    departments articles stock operators currencies system header advert\n"
    "                units types message\n"
    "receive tables: departments articles sold operators currencies system vat units types\n"
    "delete-articles and clear-sales ask \"Da li ste sigurni?\" unless --yes is given.\n"
    "report asks \"Da li ste sigurni ?\" unless --yes is given. receipt takes at most 10\n"
    "lines; it exits 1 with the receipt's result code on stderr when that code is not 0.\n"
    "status prints MENY, STANJE, BRPLU, LERR and LERRTEXT, identity SER, PIB and IBFM,\n"
    "one NAME=value per line.\n"
    "key presses the register's keys by their button names (zero..nine, comma, doublezero,\n"
    "dep1..dep5, clear, total, subtotal, currencyV, ticket, creditcard, check, key, cashin,\n"
    "cashout, storno, returnitem, discountperc, discountval, plu, per, feedjourn, feedsc,\n"
    "shift); display prints the two operator lines and the customer line; logo chooses the\n"
    "slot (1 at the start of the receipt, 2 at its end) and sends the bitmap.\n"
    "Ctrl+C stops a run between two records (exit status 130).\n"
    "Articles as CSV (UTF-8, \";\" or \",\"): import-articles refuses the whole file when a row\n"
    "is refused, unless --skip-invalid; export-articles and list-articles read the article\n"
    "table, or with --received / --sold the articles last read from the register;\n"
    "export-articles --cyrillic writes display-font names in Cyrillic letters.\n";

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
    bool received = false;
    bool sold = false;
    bool cyrillic = false;
    bool skipInvalid = false;
    std::vector<std::pair<std::string, std::string>> receiptLines;  // code, quantity
    std::string cheque, card, cash;
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
        } else if (arg == "--received") {
            options.received = true;
        } else if (arg == "--sold") {
            options.sold = true;
        } else if (arg == "--cyrillic") {
            options.cyrillic = true;
        } else if (arg == "--skip-invalid") {
            options.skipInvalid = true;
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
    const std::vector<std::string> known = {"test-link",
                                            "send",
                                            "receive",
                                            "delete-articles",
                                            "clear-sales",
                                            "import-articles",
                                            "export-articles",
                                            "list-articles",
                                            "report",
                                            "receipt",
                                            "status",
                                            "identity",
                                            "key",
                                            "display",
                                            "logo"};
    if (std::find(known.begin(), known.end(), options.command) == known.end()) {
        throw UsageError{"unknown command " + options.command};
    }
    const bool takesTables = options.command == "send" || options.command == "receive";
    const bool takesFile =
        options.command == "import-articles" || options.command == "export-articles";
    if (takesTables && options.tables.empty()) {
        throw UsageError{options.command + " needs at least one table"};
    }
    if (takesFile && options.tables.size() != 1) {
        throw UsageError{options.command + " needs one file"};
    }
    if (options.command == "report") {
        const auto& t = options.tables;
        const bool periodic = !t.empty() && t[0] == "periodic" && t.size() == 3;
        const bool single = t.size() == 1 && (t[0] == "daily" || t[0] == "snapshot");
        if (!periodic && !single) {
            throw UsageError{"report needs daily, snapshot or periodic DD.MM.YYYY DD.MM.YYYY"};
        }
    } else if (options.command == "key") {
        if (options.tables.empty()) {
            throw UsageError{"key needs at least one key name"};
        }
        for (const std::string& name : options.tables) {
            if (qov::fiscal::FindKeyboardKey(name) == nullptr) {
                throw UsageError{"unknown key " + name};
            }
        }
    } else if (options.command == "logo") {
        const auto& t = options.tables;
        if (t.size() != 2 || (t[0] != "1" && t[0] != "2")) {
            throw UsageError{"logo needs the slot 1 or 2 and a file"};
        }
    } else if (!takesTables && !takesFile && !options.tables.empty()) {
        throw UsageError{options.command + " takes no table"};
    }
    if (options.receiptLines.size() > qov::fiscal::FiscalForm::kLines) {
        throw UsageError{"receipt takes at most 10 lines"};
    }
    if (options.command != "receipt" && (!options.receiptLines.empty() || !options.cheque.empty() ||
                                         !options.card.empty() || !options.cash.empty())) {
        throw UsageError{"--line, --cheque, --card and --cash are for receipt"};
    }
    if (options.received && options.sold) {
        throw UsageError{"--received and --sold exclude each other"};
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

// Everything a command works with: the station on the console and the real line.
struct Session {
    const Options& options;
    qov::SharedState& state;
    qov::ConsoleDialogs& dialogs;
    qov::QovDllLink& link;
    qov::LinkCalls& calls;
    qov::Station& station;
};

// The progress line on the error stream while stderr is a terminal: caption, records done of
// the total and the rate, rewritten in place at most ten times a second.
class ProgressLine {
public:
    explicit ProgressLine(qov::tables::TransferProgress& progress)
        : progress_(progress), shown_(isatty(STDERR_FILENO) != 0) {
        progress_.cancelSource = [] { return gInterrupted != 0; };
        if (shown_) {
            progress_.changed = [this] { show(false); };
        }
    }
    ~ProgressLine() { finish(); }

    void finish() {
        if (shown_ && written_) {
            show(true);
            std::cerr << "\n";
            written_ = false;
        }
    }

private:
    using Clock = std::chrono::steady_clock;

    void show(bool now) {
        const auto t = Clock::now();
        if (progress_.done() == 0) {
            start_ = t;
        }
        if (!now && t - last_ < std::chrono::milliseconds(100)) {
            return;
        }
        last_ = t;
        const double seconds = std::chrono::duration<double>(t - start_).count();
        char line[160];
        std::snprintf(line, sizeof line, "\r%s %d/%d  %.0f/s   ", progress_.caption().c_str(),
                      progress_.done(), progress_.total(),
                      seconds > 0 ? progress_.done() / seconds : 0.0);
        std::cerr << line << std::flush;
        written_ = true;
    }

    qov::tables::TransferProgress& progress_;
    bool shown_;
    bool written_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

// Asks "Da li ste sigurni?" on stdin unless --yes; true when the answer is yes.
bool Confirmed(const Options& options) {
    if (options.yes) {
        return true;
    }
    std::cerr << "Da li ste sigurni? (d/n) " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        return false;
    }
    answer = answer.substr(0, answer.find_last_not_of(" \r") + 1);
    return answer == "d" || answer == "D" || answer == "da" || answer == "Da" || answer == "y" ||
           answer == "yes";
}

// The console's boxes, with the fiscal screen's question answered by --yes or from stdin.
class AskingDialogs : public qov::Dialogs {
public:
    AskingDialogs(qov::Dialogs& console, const Options& options)
        : console_(console), options_(options) {}
    qov::Answer show(const qov::MessageBox& box) override {
        if (box.buttons != qov::Buttons::YesNo) {
            return console_.show(box);
        }
        if (options_.yes) {
            return qov::Answer::Yes;
        }
        std::cerr << box.text << " (d/n) " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer)) {
            return qov::Answer::No;
        }
        answer = answer.substr(0, answer.find_last_not_of(" \r") + 1);
        return answer == "d" || answer == "D" || answer == "da" || answer == "Da" ||
                       answer == "y" || answer == "yes"
                   ? qov::Answer::Yes
                   : qov::Answer::No;
    }
    std::string openFile(const qov::FileDialog& d) override { return console_.openFile(d); }
    std::string saveFile(const qov::FileDialog& d) override { return console_.saveFile(d); }
    void setBusy(bool busy) override { console_.setBusy(busy); }
    void yield() override { console_.yield(); }

private:
    qov::Dialogs& console_;
    const Options& options_;
};

// report / receipt / status / identity: the fiscal screen's operations.
int Fiscal(Session& s) {
    AskingDialogs dialogs(s.dialogs, s.options);
    qov::Station station{s.state, dialogs, s.calls, s.station.database, s.station.userStore};
    qov::fiscal::FiscalForm form(station);
    const Options& o = s.options;
    if (o.command == "report") {
        const std::string& kind = o.tables.front();
        bool ok = false;
        if (kind == "daily") {
            ok = form.dnevni();
        } else if (kind == "snapshot") {
            ok = form.presek();
        } else {
            form.StartText = o.tables[1];
            form.EndText = o.tables[2];
            ok = form.periodicni();
        }
        return ok ? kExitOk : kExitFailed;
    }
    if (o.command == "receipt") {
        for (std::size_t i = 0; i < o.receiptLines.size(); ++i) {
            form.Artikal[i] = o.receiptLines[i].first;
            form.Kolicina[i] = o.receiptLines[i].second;
        }
        form.Cek = o.cheque;
        form.Kartica = o.card;
        form.Gotovina = o.cash;
        const int code = form.racunOut();
        if (code != 0) {
            std::cerr << "receipt result code " << code << "\n";
            return kExitFailed;
        }
        std::cout << "Racun je izdat." << std::endl;
        return kExitOk;
    }
    if (o.command == "status") {
        if (form.fisstate() == -1) {
            return kExitFailed;
        }
        std::cout << "MENY=" << form.MENY << "\nSTANJE=" << form.STANJE << "\nBRPLU=" << form.BRPLU
                  << "\nLERR=" << form.status.lastError << "\nLERRTEXT=" << form.LERRTEXT.substr(1)
                  << std::endl;
        return kExitOk;
    }
    if (!form.serial()) {
        return kExitFailed;
    }
    std::cout << "SER=" << form.SER << "\nPIB=" << form.PIB << "\nIBFM=" << form.IBFM << std::endl;
    return kExitOk;
}

int TestLink(Session& s) {
    if (s.calls.testConnection() == 0) {
        std::cout << "Veza je u redu!" << std::endl;
        return kExitOk;
    }
    s.dialogs.message("Veza nije u redu!", qov::kTitle, qov::Icon::Critical);
    return kExitFailed;
}

// send / receive: the transfer run of the named tables, one summary line per table run.
int Transfer(Session& s, TransferDirection direction, const std::vector<int>& selection,
             const std::vector<std::string>& messageLines) {
    qov::tables::TransferRun run(s.station, direction);
    run.open();
    for (std::size_t i = 0; i < messageLines.size(); ++i) {
        if (static_cast<int>(messageLines[i].size()) > run.messageLineLength()) {
            throw UsageError{"message line " + std::to_string(i + 1) + " is longer than " +
                             std::to_string(run.messageLineLength()) + " characters"};
        }
        run.setMessageLine(static_cast<int>(i), messageLines[i]);
    }
    for (int pos : selection) {
        run.setSelected(pos, true);
    }
    bool ok = false;
    {
        ProgressLine line(run.progress());
        ok = run.invia();
    }
    for (const auto& result : run.results()) {
        std::cout << run.entries()[result.position].text << ": " << (result.ok ? "OK" : "GRESKA")
                  << "\n";
    }
    std::cout.flush();
    if (run.cancelled()) {
        std::cerr << run.cancelNote() << "\n";
        return kExitInterrupted;
    }
    return ok ? kExitOk : kExitFailed;
}

// delete-articles / clear-sales: the receive screen's "delete" and "erase".
int RegisterOperation(Session& s,
                      bool (*operation)(qov::Station&, qov::tables::TransferProgress&)) {
    if (!Confirmed(s.options)) {
        return kExitFailed;
    }
    qov::tables::TransferProgress progress;
    bool ok = false;
    {
        ProgressLine line(progress);
        ok = operation(s.station, progress);
    }
    if (gInterrupted != 0) {
        std::cerr << "Prekinuto, obradjeno zapisa: " << progress.done() << "\n";
        return kExitInterrupted;
    }
    return ok ? kExitOk : kExitFailed;
}

// key NAME...: the remote keyboard's key frames, one per name; stops at a key not done.
int PressKeys(Session& s) {
    qov::fiscal::Keyboard keyboard(s.station);
    for (const std::string& name : s.options.tables) {
        keyboard.press(name);
        if (s.state.LinkResult != 0) {
            std::cerr << "qovctl: key " << name << " not done (" << s.state.LinkResult << ")\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

// display: one poll of the remote keyboard's display, its three lines.
int ShowDisplay(Session& s) {
    qov::DisplayLines lines;
    if (qov::PollDisplay(s.calls, lines, qov::fiscal::Keyboard::kDisplayWait) <= 0) {
        s.dialogs.message(qov::fiscal::Keyboard::kLinkLost, qov::kTitle, qov::Icon::Critical);
        return kExitFailed;
    }
    lines = qov::fiscal::ShownDisplay(std::move(lines));
    std::cout << lines.operator1 << "\n" << lines.operator2 << "\n" << lines.customer << std::endl;
    return kExitOk;
}

// logo 1|2 FILE: the slot frame, then the bitmap through Invialogo; exit 0 when both were done.
int SendLogo(Session& s) {
    const std::string& file = s.options.tables[1];
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        std::fclose(f);
    } else {
        std::cerr << "qovctl: cannot read " << file << "\n";
        return kExitFailed;
    }
    qov::fiscal::GraphicLogo logo(s.station);
    logo.slot = s.options.tables[0] == "1" ? 1 : 2;
    if (!logo.otvori()) {
        return kExitFailed;
    }
    s.state.LogoFilePath = file;
    s.state.LinkResult = s.link.Invialogo(file);
    if (s.state.LinkResult != 0) {
        std::cerr << "qovctl: logo not sent (" << s.state.LinkResult << ")\n";
        return kExitFailed;
    }
    return kExitOk;
}

// The article table an article command works on.
std::string ArticleTable(const Options& options) {
    return options.sold       ? qov::articles::kReceivedSoldTable
           : options.received ? qov::articles::kReceivedTable
                              : qov::articles::kArticleTable;
}

int ImportArticles(Session& s) {
    if (s.options.received || s.options.sold) {
        throw UsageError{"import-articles fills the article table only"};
    }
    const auto policy = s.options.skipInvalid ? qov::articles::RefusedRows::ImportValid
                                              : qov::articles::RefusedRows::ImportNone;
    return qov::articles::ImportArticlesFile(s.station, s.options.tables.front(), policy,
                                             "qovctl.import_articles()")
               ? kExitOk
               : kExitFailed;
}

int ExportArticles(Session& s) {
    return qov::articles::ExportArticlesFile(s.station, ArticleTable(s.options), s.options.cyrillic,
                                             s.options.tables.front(), "qovctl.export_articles()")
               ? kExitOk
               : kExitFailed;
}

// The list lines of the article screens, one per article, columns separated by tabs.
int ListArticles(Session& s) {
    std::vector<std::string> lines;
    if (!qov::articles::ArticleListLines(s.station, ArticleTable(s.options), lines)) {
        return kExitFailed;
    }
    for (const std::string& line : lines) {
        std::cout << line << "\n";
    }
    std::cout.flush();
    return kExitOk;
}

int Run(const Options& options) {
    const std::string home = options.home.empty() ? qov::AppFolder() : WithSeparator(options.home);
    const TransferDirection direction =
        options.command == "receive" ? TransferDirection::Receive : TransferDirection::Transmit;
    const bool transfer = options.command == "send" || options.command == "receive";
    std::vector<int> selection;
    if (transfer) {
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
    // comes from the settings file's [ports] map or from --device. The article table commands
    // work on the database alone.
    const bool databaseOnly = options.command.find("-articles") != std::string::npos &&
                              options.command != "delete-articles";
    link->Close_RS232();
    if (!databaseOnly) {
        link->Init_RS232bd(state.PortNumber, state.BaudRate);
    }

    Session session{options, state, dialogs, *link, calls, station};
    // The commands; a new one adds its line here and its name to the parser and the usage.
    const std::vector<std::pair<std::string, std::function<int()>>> commands = {
        {"test-link", [&] { return TestLink(session); }},
        {"send", [&] { return Transfer(session, direction, selection, messageLines); }},
        {"receive", [&] { return Transfer(session, direction, selection, messageLines); }},
        {"delete-articles",
         [&] { return RegisterOperation(session, qov::articles::DeleteRegisterArticles); }},
        {"clear-sales",
         [&] { return RegisterOperation(session, qov::articles::ClearRegisterSales); }},
        {"import-articles", [&] { return ImportArticles(session); }},
        {"export-articles", [&] { return ExportArticles(session); }},
        {"list-articles", [&] { return ListArticles(session); }},
        {"report", [&] { return Fiscal(session); }},
        {"receipt", [&] { return Fiscal(session); }},
        {"status", [&] { return Fiscal(session); }},
        {"identity", [&] { return Fiscal(session); }},
        {"key", [&] { return PressKeys(session); }},
        {"display", [&] { return ShowDisplay(session); }},
        {"logo", [&] { return SendLogo(session); }},
    };
    int status = kExitUsage;
    try {
        for (const auto& [name, command] : commands) {
            if (name == options.command) {
                status = command();
            }
        }
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // No SA_RESTART: a wait on the line returns to its loop, which goes on to the end of the
    // exchange; the run then stops before the next record.
    struct sigaction interrupt {};
    interrupt.sa_handler = OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
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
