// The station's backups: "Rezervna kopija kase..." in "Datoteke" and the transmit screen's
// "Rezervna kopija pre slanja". Plain logic; the progress window is backup_screen.cpp.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "backup/backup.h"
#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::backup {

class BackupTask {
public:
    // `defaultFolder`: where backups go until the user chooses a folder.
    BackupTask(Station& station, std::string defaultFolder);

    // The folder backups go into: the one chosen last (kept per user), else the default.
    std::string folder() const;

    // The folder dialog ("Rezervna kopija kase", starting in folder()); the choice is kept.
    // Empty when the user cancelled.
    std::string chooseFolder();

    // Backs the register up into `parent` and says how it went: the folder, the tables that
    // could not be read, or that it was stopped. True when every table was read and written.
    bool run(const std::string& parent);

    // The backup before a send, into folder(). True when the send may go on: the backup was
    // made, or it was not and the user answers Yes to "Nastaviti slanje?". A backup stopped
    // with "Prekini" stops the send.
    bool beforeSend(tables::TransferProgress& progress);

    // "Prekini" while it runs.
    void cancel() { progress_.requestCancel(); }
    bool running() const { return running_; }
    tables::TransferProgress& progress() { return progress_; }
    const BackupResult& result() const { return result_; }

    // The backup itself (tests put their own).
    std::function<BackupResult(Station&, tables::TransferProgress&, const std::filesystem::path&)>
        backup = [](Station& s, tables::TransferProgress& p, const std::filesystem::path& f) {
            return BackupRegister(s, p, f);
        };

private:
    BackupResult runBackup(tables::TransferProgress& progress, const std::string& parent);

    Station& station_;
    std::string defaultFolder_;
    tables::TransferProgress progress_;
    BackupResult result_;
    bool running_ = false;
};

}  // namespace qov::backup
