// A backup of a register and its restore: the register's tables read into a folder of their
// own, and sent back from it.
//
// PARENT/<serial>-<YYYYMMDD-HHMMSS>/
//   program.ini   the program file of the tables read (VAT rate n of the register under
//                 TAX_<n+1>), with a [BACKUP] section: SERIAL, TIME, READ, FAILED, CYRILLIC (the
//                 tables whose names came in the register's Cyrillic code) and MAXPRICE_1-10
//                 (the departments' maximum prices, which the program file does not hold)
//   articles.csv  the register's articles, in the article CSV format with TOTAL and QTY
//   sold.csv      the articles with sales
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::backup {

inline constexpr const char* kProgramFileName = "program.ini";
inline constexpr const char* kArticlesFileName = "articles.csv";
inline constexpr const char* kSoldFileName = "sold.csv";
inline constexpr const char* kBackupSection = "BACKUP";

// The list texts of receive-list tables ("Odeljenja, Poreske stope"), for a message.
std::string TableTexts(const std::vector<std::string>& names);

// The local time as a backup folder's name carries it: "20261205-231533".
std::string BackupStamp();

struct BackupResult {
    std::filesystem::path folder;     // the folder written; empty when nothing was written
    std::vector<std::string> failed;  // tables that could not be read (their keys stay empty)
    bool linkAnswered = false;
    bool cancelled = false;
    bool ok() const { return !folder.empty() && failed.empty(); }
};

// Reads every readable table (departments, operators, currencies, VAT, system, units, types,
// articles, sold articles) and writes the folder under `parent` (made when missing). The
// station's tables and its received-article tables stay as they were. Nothing is written when
// the link does not answer or the run is cancelled; a table that could not be read is listed
// under FAILED and the others are kept. A file that cannot be written is reported in a box.
BackupResult BackupRegister(Station& station, tables::TransferProgress& progress,
                            const std::filesystem::path& parent,
                            const std::string& stamp = BackupStamp());

// What a restore leaves alone, and why; shown after every restore.
inline constexpr const char* kRestoreNote =
    "Zaglavlje i reklama se ne citaju iz kase, a poreske stope se ne salju: kasa ih zadrzava "
    "kakve jesu.";

struct RestoreResult {
    std::vector<std::string> sent;     // transmit-list names, in the order sent
    std::vector<std::string> failed;   // tables whose send was abandoned
    std::vector<std::string> skipped;  // tables the backup could not read: not sent
    bool started = false;              // the folder was read and the link answered
    bool cancelled = false;
    bool ok() const { return started && !cancelled && failed.empty(); }
};

// Sends back what a backup folder holds, in the transmit list's order: departments (with
// their maximum prices), articles and their stock, cashiers, currencies, system, units,
// types. Each table goes in the script its names were read in. Header, advertisement and VAT
// rates are left alone (kRestoreNote). The station's tables stay as they were. A folder that
// is not a backup, or an article file that cannot be read, is reported before anything is
// sent.
RestoreResult RestoreRegister(Station& station, tables::TransferProgress& progress,
                              const std::filesystem::path& folder);

}  // namespace qov::backup
