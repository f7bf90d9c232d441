// The station's backup windows: thin widgets over BackupTask.
#pragma once

#include <string>

#include "link/station.h"
#include "tables/transfer_run.h"

class QWidget;

namespace qov::backup {

// Where backups go until the user chooses a folder: "QovCom kopije" in the user's documents.
std::string DefaultBackupFolder();

// "Rezervna kopija kase...": the folder dialog, then the backup in a small window with its
// progress and "Prekini", then the outcome in a box.
void RunBackupWindow(Station& station, QWidget* parent);

// The transmit screen's "Rezervna kopija pre slanja": the backup into the folder chosen last,
// run on the screen's own progress before the first table.
tables::TransferRun::Operation BackupBeforeSend(Station& station);

}  // namespace qov::backup
