#include "backup/backup.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <exception>
#include <memory>

#include "app/ini_file.h"
#include "app/run_error.h"
#include "app/show_error.h"
#include "articles/article_csv.h"
#include "articles/article_transmit.h"
#include "backup/register_read.h"
#include "progfile/program_file.h"
#include "tables/record_loops.h"
#include "tables/transfer_lists.h"

namespace qov::backup {

namespace {

constexpr const char* kSender = "Backup";

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ",") + name;
    }
    return text;
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) {
            names.push_back(list.substr(start, comma - start));
        }
        start = comma + 1;
    }
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A serial number as part of a folder name: letters, digits, "-" and "_"; "kasa" when the
// register gave none.
std::string FolderPart(const std::string& serial) {
    std::string part;
    for (char c : serial) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                           (c >= 'a' && c <= 'z') || c == '-' || c == '_';
        part.push_back(plain ? c : '_');
    }
    return part.empty() ? "kasa" : part;
}

QString PathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// A new folder `name` under `parent`, or name-2, name-3, ... when it is taken.
std::filesystem::path NewFolder(const std::filesystem::path& parent, const std::string& name) {
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    for (int n = 1; n < 1000; ++n) {
        const std::filesystem::path folder =
            parent / (n == 1 ? name : name + "-" + std::to_string(n));
        if (std::filesystem::create_directory(folder, error)) {
            return folder;
        }
        if (error) {
            break;
        }
    }
    return {};
}

bool WriteFile(const std::filesystem::path& file, const std::string& text, Dialogs& dialogs) {
    QSaveFile out(PathText(file));
    if (out.open(QIODevice::WriteOnly) &&
        out.write(text.data(), static_cast<qint64>(text.size())) ==
            static_cast<qint64>(text.size()) &&
        out.commit()) {
        return true;
    }
    dialogs.message("Datoteka ne moze da se zapise: " + file.string(), kTitle, Icon::Critical);
    return false;
}

// The articles (frame "PR") or their stock ("PQ") of a backup, one frame each, as the
// transmit screen sends the article table: the same skips, refusal texts and counters.
bool SendArticles(tables::TransferContext& ctx, const std::vector<articles::ArticleRecord>& rows,
                  bool stock) {
    tables::TransferProgress& progress = ctx.progress;
    progress.start(static_cast<int>(rows.size()));
    int handled = 0;
    for (const articles::ArticleRecord& row : rows) {
        if (progress.cancelRequested()) {
            return false;
        }
        bool sent = true;
        if (stock) {
            sent = tables::SendRecord(
                ctx, {articles::StockFrame(row),
                      " Za artikal " + row.code + " nije azuriran lager!" + kLineBreak});
        } else if (!articles::IsIncompleteArticle(row)) {
            sent = tables::SendRecord(
                ctx, {articles::ArticleFrame(ctx.state(), row),
                      "Artikal " + row.code + " nije primljen u kasu!" + kLineBreak});
        }
        if (!sent) {
            return false;
        }
        ++handled;
        progress.setCounter(handled);
        progress.setDone(handled);
        ctx.dialogs().yield();
    }
    return true;
}

}  // namespace

std::string TableTexts(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        const int pos = tables::FindTransferEntry(tables::TransferDirection::Receive, name);
        text += (text.empty() ? "" : ", ") +
                (pos < 0 ? name : tables::ReceiveList()[static_cast<std::size_t>(pos)].text);
    }
    return text;
}

std::string BackupStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
}

BackupResult BackupRegister(Station& station, tables::TransferProgress& progress,
                            const std::filesystem::path& parent, const std::string& stamp) {
    BackupResult result;
    Dialogs& dialogs = station.dialogs;
    std::unique_ptr<ScratchArticles> scratch;
    auto read = std::make_unique<RegisterRead>();
    try {
        scratch = std::make_unique<ScratchArticles>();
        std::vector<std::string> tables = kSmallTables;
        tables.insert(tables.end(), {"articles", "sold"});
        ReadRegister(station, progress, tables, scratch.get(), *read);
    } catch (const std::exception& e) {
        ShowError(dialogs, e, std::string(kSender) + ".BackupRegister()");
        return result;
    }
    result.linkAnswered = read->linkAnswered;
    result.cancelled = read->cancelled;
    result.failed = read->failed;
    if (!read->linkAnswered || read->cancelled) {
        return result;
    }

    // The register's VAT rate n goes under TAX_<n+1>, where a program file keeps it.
    SharedState& s = read->state;
    for (int n = 9; n >= 1; --n) {
        s.VatTable[n] = s.VatTable[n - 1];
    }
    s.VatTable[0] = {};

    const std::filesystem::path folder = NewFolder(parent, FolderPart(read->serial) + "-" + stamp);
    if (folder.empty()) {
        dialogs.message("Fascikla ne moze da se napravi: " + parent.string(), kTitle,
                        Icon::Critical);
        return result;
    }
    s.ProgramFilePath = (folder / kProgramFileName).string();
    if (!SaveProgramFile(s, dialogs)) {
        return result;
    }
    std::string articlesCsv, soldCsv;
    try {
        IniFile ini(s.ProgramFilePath);
        ini.setString(kBackupSection, "SERIAL", read->serial);
        ini.setString(kBackupSection, "TIME", stamp);
        ini.setString(kBackupSection, "READ", Joined(read->read));
        ini.setString(kBackupSection, "FAILED", Joined(read->failed));
        std::vector<std::string> cyrillic;
        for (const std::string& table : read->read) {
            CyrTable flag{};
            if (CyrillicTableOf(table, flag) && s.tableCyrillic(flag)) {
                cyrillic.push_back(table);
            }
        }
        ini.setString(kBackupSection, "CYRILLIC", Joined(cyrillic));
        for (int n = 1; n <= 10; ++n) {
            ini.setString(kBackupSection, "MAXPRICE_" + std::to_string(n),
                          s.DepartmentTable[n].maxPrice);
        }
        ini.save();
        Database& db = scratch->database();
        db.open(scratch->connectionString());
        articlesCsv = articles::ArticlesCsvText(db, articles::kReceivedTable, false);
        soldCsv = articles::ArticlesCsvText(db, articles::kReceivedSoldTable, false);
        db.close();
    } catch (const std::exception& e) {
        scratch->database().close();
        ShowError(dialogs, e, std::string(kSender) + ".BackupRegister()");
        return result;
    }
    if (!WriteFile(folder / kArticlesFileName, articlesCsv, dialogs) ||
        !WriteFile(folder / kSoldFileName, soldCsv, dialogs)) {
        return result;
    }
    result.folder = folder;
    return result;
}

RestoreResult RestoreRegister(Station& station, tables::TransferProgress& progress,
                              const std::filesystem::path& folder) {
    RestoreResult result;
    Dialogs& dialogs = station.dialogs;
    auto owned = std::make_unique<SharedState>(station.state);
    SharedState& s = *owned;
    s.ProgramFilePath = (folder / kProgramFileName).string();
    const IniFile ini(s.ProgramFilePath);
    if (!ini.hasKey(kBackupSection, "SERIAL")) {
        dialogs.message("Fascikla nije rezervna kopija kase: " + folder.string(), kTitle,
                        Icon::Critical);
        return result;
    }
    if (!LoadProgramFile(s, dialogs)) {
        return result;
    }
    const std::vector<std::string> read = Split(ini.getString(kBackupSection, "READ", ""));
    const std::vector<std::string> cyrillic = Split(ini.getString(kBackupSection, "CYRILLIC", ""));
    for (int n = 1; n <= 10; ++n) {
        s.DepartmentTable[n].maxPrice =
            ini.getString(kBackupSection, "MAXPRICE_" + std::to_string(n), "");
    }
    std::vector<articles::ArticleRecord> rows;
    if (Contains(read, "articles") && !ReadArticleFile(folder / kArticlesFileName, rows, dialogs)) {
        return result;
    }

    LinkCalls calls(s, station.link.link());
    Station sender{s, dialogs, calls, station.database, station.userStore};
    progress.clear();
    if (calls.testConnection() != 0) {
        dialogs.message("Veza nije u redu!", kTitle, Icon::Critical);
        return result;
    }
    result.started = true;
    tables::TransferContext ctx{sender, progress};
    static const std::vector<std::string> kRestored = {
        "departments", "articles", "stock", "operators", "currencies", "system", "units", "types"};
    for (const tables::TransferEntry& entry : tables::TransmitList()) {
        if (!Contains(kRestored, entry.name)) {
            continue;
        }
        const std::string source = entry.name == "stock" ? "articles" : entry.name;
        if (!Contains(read, source)) {
            result.skipped.push_back(entry.name);
            continue;
        }
        // Each table in the script its names came in: the register's Cyrillic code back from
        // display-font text, Latin names as they are.
        s.CyrillicMode = s.CyrillicLanguage = Contains(cyrillic, source);
        progress.setCaption(entry.caption);
        bool ok = false;
        try {
            ok = entry.name == "articles" ? SendArticles(ctx, rows, false)
                 : entry.name == "stock"  ? SendArticles(ctx, rows, true)
                                          : entry.procedure && entry.procedure(ctx);
        } catch (const std::exception&) {
            ok = false;
        }
        (ok ? result.sent : result.failed).push_back(entry.name);
        dialogs.yield();
        if (progress.cancelRequested()) {
            result.cancelled = true;
            break;
        }
    }
    return result;
}

}  // namespace qov::backup
