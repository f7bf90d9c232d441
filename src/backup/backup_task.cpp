#include "backup/backup_task.h"

namespace qov::backup {

namespace {

constexpr const char* kStoreApp = "QovCom";
constexpr const char* kStoreSection = "Backup";
constexpr const char* kStoreKey = "Folder";
constexpr const char* kDialogTitle = "Rezervna kopija kase";

}  // namespace

BackupTask::BackupTask(Station& station, std::string defaultFolder)
    : station_(station), defaultFolder_(std::move(defaultFolder)) {}

std::string BackupTask::folder() const {
    return station_.userStore.get(kStoreApp, kStoreSection, kStoreKey, defaultFolder_);
}

std::string BackupTask::chooseFolder() {
    FileDialog dialog;
    dialog.title = kDialogTitle;
    dialog.folder = folder();
    const std::string chosen = station_.dialogs.chooseFolder(dialog);
    if (!chosen.empty()) {
        station_.userStore.set(kStoreApp, kStoreSection, kStoreKey, chosen);
    }
    return chosen;
}

BackupResult BackupTask::runBackup(tables::TransferProgress& progress, const std::string& parent) {
    Dialogs& dialogs = station_.dialogs;
    dialogs.setBusy(true);
    running_ = true;
    progress.resetCancel();
    result_ = backup(station_, progress, parent);
    running_ = false;
    dialogs.setBusy(false);
    return result_;
}

bool BackupTask::run(const std::string& parent) {
    const BackupResult r = runBackup(progress_, parent);
    Dialogs& dialogs = station_.dialogs;
    if (r.cancelled) {
        dialogs.message("Rezervna kopija je prekinuta.", kTitle, Icon::Exclamation);
    } else if (!r.folder.empty()) {
        std::string text =
            "Rezervna kopija je sacuvana u fascikli:" + std::string(kLineBreak) + r.folder.string();
        if (!r.failed.empty()) {
            text += std::string(kLineBreak) + "Nisu procitani: " + TableTexts(r.failed);
        }
        dialogs.message(text, kTitle, r.failed.empty() ? Icon::Information : Icon::Exclamation);
    }
    return r.ok();
}

bool BackupTask::beforeSend(tables::TransferProgress& progress) {
    const BackupResult r = runBackup(progress, folder());
    if (r.ok()) {
        return true;
    }
    if (r.cancelled) {
        return false;
    }
    std::string text = "Rezervna kopija nije napravljena.";
    if (!r.folder.empty()) {
        text = "Rezervna kopija nije potpuna (nisu procitani: " + TableTexts(r.failed) + ").";
    }
    return station_.dialogs.message(text + kLineBreak + "Nastaviti slanje?", kTitle,
                                    Icon::Exclamation, Buttons::YesNo) == Answer::Yes;
}

}  // namespace qov::backup
