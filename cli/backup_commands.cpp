// backup, restore, diff: a register read into a folder, sent back from it, or compared with a
// program file before it is overwritten.
#include <iostream>

#include "backup/backup.h"
#include "backup/compare.h"
#include "command.h"
#include "console.h"
#include "link/station.h"
#include "tables/transfer_lists.h"

namespace qovctl {

namespace {

using qov::tables::TransferProgress;

void CheckOneFolder(const Options& options) {
    if (options.arguments.size() != 1) {
        throw UsageError{options.command + " needs one folder"};
    }
}

void CheckOneFile(const Options& options) {
    if (options.arguments.size() != 1) {
        throw UsageError{options.command + " needs one program file"};
    }
}

// The list text of a transmit-list table ("Odeljenja", "Lager artikala", ...).
std::string TransmitText(const std::string& name) {
    const int pos = qov::tables::FindTransferEntry(qov::tables::TransferDirection::Transmit, name);
    return pos < 0 ? name : qov::tables::TransmitList()[static_cast<std::size_t>(pos)].text;
}

int Backup(Session& s) {
    TransferProgress progress;
    qov::backup::BackupResult result;
    {
        ProgressLine line(progress);
        result = qov::backup::BackupRegister(s.station, progress, s.options.arguments.front());
    }
    if (result.cancelled) {
        std::cerr << "Prekinuto, rezervna kopija nije zapisana\n";
        return kExitInterrupted;
    }
    if (!result.folder.empty()) {
        std::cout << result.folder.string() << std::endl;
    }
    if (!result.failed.empty()) {
        std::cerr << "Nisu procitani: " << qov::backup::TableTexts(result.failed) << "\n";
    }
    return result.ok() ? kExitOk : kExitFailed;
}

int Restore(Session& s) {
    if (!AskYes(s.options, "Da li ste sigurni?")) {
        return kExitFailed;
    }
    TransferProgress progress;
    qov::backup::RestoreResult result;
    {
        ProgressLine line(progress);
        result = qov::backup::RestoreRegister(s.station, progress, s.options.arguments.front());
    }
    if (!result.started) {
        return kExitFailed;
    }
    for (const std::string& name : result.sent) {
        std::cout << TransmitText(name) << ": OK\n";
    }
    for (const std::string& name : result.failed) {
        std::cout << TransmitText(name) << ": GRESKA\n";
    }
    for (const std::string& name : result.skipped) {
        std::cout << TransmitText(name) << ": nije u rezervnoj kopiji\n";
    }
    std::cout << qov::backup::kRestoreNote << std::endl;
    if (result.cancelled) {
        std::cerr << "Prekinuto\n";
        return kExitInterrupted;
    }
    return result.ok() ? kExitOk : kExitFailed;
}

int Diff(Session& s) {
    TransferProgress progress;
    qov::backup::DiffResult result;
    std::optional<std::filesystem::path> articles;
    if (!s.options.articlesFile.empty()) {
        articles = s.options.articlesFile;
    }
    {
        ProgressLine line(progress);
        result =
            qov::backup::DiffRegister(s.station, progress, s.options.arguments.front(), articles);
    }
    for (const std::string& line : result.lines) {
        std::cout << line << "\n";
    }
    std::cout.flush();
    if (result.cancelled) {
        std::cerr << "Prekinuto\n";
        return kExitInterrupted;
    }
    if (!result.started) {
        return kExitFailed;
    }
    if (!result.failed.empty()) {
        std::cerr << "Nisu procitani: " << qov::backup::TableTexts(result.failed) << "\n";
        return kExitFailed;
    }
    return result.lines.empty() ? kExitOk : kExitDifferent;
}

}  // namespace

std::vector<Command> BackupCommands() {
    return {
        {"backup",
         "  backup DIR         reads every readable table of the register into\n"
         "                     DIR/<serial>-<date>-<time>/ (program.ini, articles.csv,\n"
         "                     sold.csv) and prints that folder\n",
         LineUse::Open, CheckOneFolder, Backup},
        {"restore",
         "  restore DIR        sends back what a backup folder holds (asks \"Da li ste\n"
         "                     sigurni?\" unless --yes); header, advertisement and VAT rates\n"
         "                     stay as the register has them\n",
         LineUse::Open, CheckOneFolder, Restore},
        {"diff",
         "  diff FILE          lists every field of the register that differs from the\n"
         "                     program file (--articles CSV: also the articles); exit 0 when\n"
         "                     equal, 3 when different\n",
         LineUse::Open, CheckOneFile, Diff},
    };
}

}  // namespace qovctl
