// test-link, send, receive, delete-articles, clear-sales: the line test and the transfer runs.
#include <QString>

#include <iostream>

#include "app/console_dialogs.h"
#include "app/run_error.h"
#include "articles/register_articles.h"
#include "command.h"
#include "console.h"
#include "link/link_calls.h"
#include "link/station.h"
#include "progfile/program_file.h"
#include "tables/display_message.h"
#include "tables/transfer_lists.h"
#include "tables/transfer_run.h"
#include "text/transcode.h"

namespace qovctl {

namespace {

using qov::tables::TransferDirection;

TransferDirection DirectionOf(const Options& options) {
    return options.command == "receive" ? TransferDirection::Receive : TransferDirection::Transmit;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : " ") + name;
    }
    return text;
}

// The list positions of the named tables; a name that is unknown or whose procedure does not
// exist is a usage error naming the tables that work.
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

// The message as font text: the command line is UTF-8; Cyrillic letters become the font
// characters that stand for them, ASCII stays, anything else has no code on the register.
// `cyrillic` tells whether a Cyrillic letter was met.
std::string MessageFontText(const std::string& utf8, bool& cyrillic) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (text.toUtf8().toStdString() != utf8) {
        throw UsageError{"--message is not UTF-8 text"};
    }
    std::string font;
    cyrillic = false;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            font += static_cast<char>(c.unicode());
        } else if (const char f = qov::FontCharForCyrillic(c.unicode()); f != 0) {
            font += f;
            cyrillic = true;
        } else {
            throw UsageError{"--message: the register has no code for \"" +
                             QString(c).toUtf8().toStdString() +
                             "\" (Latin letters with marks cannot be sent; write them plain or "
                             "in Cyrillic)"};
        }
    }
    return font;
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

// The program-file sections a received table fills.
unsigned ProgramSectionsOf(const std::string& table) {
    const std::pair<const char*, unsigned> sections[] = {{"departments", qov::kDepartmentSection},
                                                         {"operators", qov::kOperatorSection},
                                                         {"currencies", qov::kCurrencySection},
                                                         {"system", qov::kSystemSection},
                                                         {"vat", qov::kVatSection},
                                                         {"units", qov::kUnitSection},
                                                         {"types", qov::kTypeSection}};
    for (const auto& [name, section] : sections) {
        if (table == name) {
            return section;
        }
    }
    return 0;  // articles and sales live in the database
}

void CheckTables(const Options& options) {
    if (options.arguments.empty()) {
        throw UsageError{options.command + " needs at least one table"};
    }
    SelectTables(DirectionOf(options), options.arguments);
    if (options.hasMessage) {
        bool cyrillic = false;
        MessageFontText(options.message, cyrillic);
        if (SplitMessage(options.message).size() > 3) {
            throw UsageError{"--message takes at most three lines"};
        }
        if (cyrillic && options.latin) {
            throw UsageError{"--message has Cyrillic letters and --latin sends Latin text"};
        }
    }
}

// The message's lines against the line width of the loaded set-up.
void CheckMessageLength(const Options& options, const qov::SharedState& state) {
    if (!options.hasMessage) {
        return;
    }
    bool cyrillic = false;
    const std::vector<std::string> lines = SplitMessage(MessageFontText(options.message, cyrillic));
    const int longest = qov::tables::MessageLineLength(state);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int>(lines[i].size()) > longest) {
            throw UsageError{"message line " + std::to_string(i + 1) + " is longer than " +
                             std::to_string(longest) + " characters"};
        }
    }
}

int TestLink(Session& s) {
    if (s.calls.testConnection() == 0) {
        std::cout << "Veza je u redu!" << std::endl;
        return kExitOk;
    }
    s.dialogs.message("Veza nije u redu!", qov::kTitle, qov::Icon::Critical);
    std::cerr << "qovctl: " << LineDevice(s) << ": the register does not answer\n";
    return kExitFailed;
}

// send / receive: the transfer run of the named tables, one summary line per table run.
int Transfer(Session& s) {
    const TransferDirection direction = DirectionOf(s.options);
    qov::tables::TransferRun run(s.station, direction);
    run.open();
    if (s.options.hasMessage) {
        bool cyrillic = false;
        const std::vector<std::string> lines =
            SplitMessage(MessageFontText(s.options.message, cyrillic));
        if (cyrillic) {
            s.state.CyrillicMode = true;  // the message's letters go as Cyrillic
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            run.setMessageLine(static_cast<int>(i), lines[i]);
        }
    }
    for (int pos : SelectTables(direction, s.options.arguments)) {
        run.setSelected(pos, true);
    }
    bool ok = false;
    {
        ProgressLine line(run.progress());
        ok = run.invia();
    }
    for (const auto& result : run.results()) {
        const qov::tables::TransferEntry& entry = run.entries()[result.position];
        std::cout << entry.text << ": " << (result.ok ? "OK" : "GRESKA") << "\n";
        if (result.ok && direction == TransferDirection::Receive) {
            s.receivedSections |= ProgramSectionsOf(entry.name);
        }
    }
    std::cout.flush();
    if (!run.linkAnswered()) {
        std::cerr << "qovctl: " << LineDevice(s) << ": the register does not answer\n";
    }
    if (run.cancelled()) {
        std::cerr << run.cancelNote() << "\n";
        return kExitInterrupted;
    }
    return ok ? kExitOk : kExitFailed;
}

// delete-articles / clear-sales: the receive screen's "delete" and "erase".
int RegisterOperation(Session& s,
                      bool (*operation)(qov::Station&, qov::tables::TransferProgress&)) {
    if (!AskYes(s.options, "Da li ste sigurni?")) {
        return kExitFailed;
    }
    qov::tables::TransferProgress progress;
    bool ok = false;
    {
        ProgressLine line(progress);
        ok = operation(s.station, progress);
    }
    if (Interrupted()) {
        std::cerr << "Prekinuto, obradjeno zapisa: " << progress.done() << "\n";
        return kExitInterrupted;
    }
    return ok ? kExitOk : kExitFailed;
}

// NAMES as lines of the usage text, after INDENT blanks, none past the 80th column.
std::string WrappedNames(const std::vector<std::string>& names, std::size_t indent) {
    std::string text = std::string(indent, ' ');
    std::size_t column = indent;
    for (const std::string& name : names) {
        if (column > indent && column + 1 + name.size() > 80) {
            text += "\n" + std::string(indent, ' ');
            column = indent;
        }
        if (column > indent) {
            text += ' ';
            ++column;
        }
        text += name;
        column += name.size();
    }
    return text + "\n";
}

}  // namespace

std::vector<Command> TransferCommands() {
    constexpr std::size_t kIndent = 21;
    const std::string sendable =
        WrappedNames(qov::tables::WorkingTransferNames(TransferDirection::Transmit), kIndent);
    const std::string receivable =
        WrappedNames(qov::tables::WorkingTransferNames(TransferDirection::Receive), kIndent);
    return {
        {"test-link", "  test-link          the line test: \"Veza je u redu!\" or exit 1\n",
         LineUse::Open, nullptr, TestLink},
        {"send",
         "  send TABLE...      sends the tables (--message \"L1|L2|L3\": the message's lines)\n" +
             sendable,
         LineUse::Open, CheckTables, Transfer, CheckMessageLength},
        {"receive", "  receive TABLE...   reads the tables\n" + receivable, LineUse::Open,
         CheckTables, Transfer},
        {"delete-articles",
         "  delete-articles    deletes the register's articles (asks \"Da li ste sigurni?\"\n"
         "                     unless --yes)\n",
         LineUse::Open, nullptr,
         [](Session& s) { return RegisterOperation(s, qov::articles::DeleteRegisterArticles); }},
        {"clear-sales",
         "  clear-sales        clears the register's article sales (asks as above)\n",
         LineUse::Open, nullptr,
         [](Session& s) { return RegisterOperation(s, qov::articles::ClearRegisterSales); }},
    };
}

}  // namespace qovctl
