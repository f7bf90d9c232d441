#include "app/program_folder.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <exception>

namespace qov {

namespace {

QString Path(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

bool IsFile(const std::string& path) {
    return QFileInfo(Path(path)).isFile();
}

void RemoveDatabaseFiles(const std::string& file) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        QFile::remove(Path(file + suffix));
    }
}

// Runs the schema on a fresh file beside the final one and renames it into place, so a failed
// run never leaves a database without tables behind.
std::string MakeDatabase(const std::string& file, const std::string& schemaFile,
                         Database& database) {
    QFile schema(Path(schemaFile));
    if (!schema.open(QIODevice::ReadOnly)) {
        return "the schema " + schemaFile + " cannot be read";
    }
    const std::vector<std::string> statements = SplitSqlScript(schema.readAll().toStdString());
    if (statements.empty()) {
        return "the schema " + schemaFile + " holds no statement";
    }
    const std::string fresh = file + ".new";
    RemoveDatabaseFiles(fresh);
    QFile empty(Path(fresh));
    if (!empty.open(QIODevice::WriteOnly)) {
        return "cannot write " + fresh;
    }
    empty.close();
    try {
        database.open("Driver=SQLite;Database=" + fresh);
        database.begin();
        for (const std::string& statement : statements) {
            database.execute(statement);
        }
        database.commit();
        database.close();
    } catch (const std::exception& e) {
        database.close();
        RemoveDatabaseFiles(fresh);
        return std::string("the schema ") + schemaFile + " failed: " + e.what();
    }
    if (!QFile::rename(Path(fresh), Path(file))) {
        RemoveDatabaseFiles(fresh);
        return "cannot rename " + fresh;
    }
    return {};
}

}  // namespace

std::string ExecutableFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return WithSeparator(Bytes(QCoreApplication::applicationDirPath()));
    }
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) {
        return "./";
    }
    return WithSeparator(
        Bytes(QFileInfo(QFile::decodeName(QByteArray(buffer, static_cast<qsizetype>(n))))
                  .absolutePath()));
}

std::string SharedFolder() {
    return WithSeparator(Bytes(QDir::cleanPath(Path(ExecutableFolder()) + "../share/qovcom")));
}

std::string UserDataFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return WithSeparator(Bytes(data + "/QovCom"));
}

ProgramFolder FindProgramFolder(const FolderPlaces& places, Database& database) {
    ProgramFolder result;
    if (!places.homeVariable.empty()) {
        result.kind = FolderKind::Home;
        result.path = WithSeparator(Bytes(QFileInfo(Path(places.homeVariable)).absoluteFilePath()));
        return result;
    }
    const std::string beside = WithSeparator(places.executableFolder);
    if (IsFile(beside + kSettingsFileName)) {
        result.kind = FolderKind::Portable;
        result.path = beside;
        return result;
    }
    result.kind = FolderKind::PerUser;
    result.path = WithSeparator(places.userFolder);
    result.problem = PrepareUserFolder(
        result.path, WithSeparator(places.sharedFolder) + "db/sqlite.sql", database);
    return result;
}

std::string PrepareUserFolder(const std::string& folder, const std::string& schemaFile,
                              Database& database) {
    const std::string base = WithSeparator(folder);
    if (IsFile(base + kSettingsFileName)) {
        return {};
    }
    if (!QDir().mkpath(Path(base))) {
        return "cannot make the folder " + base;
    }
    if (!IsFile(base + kDatabaseFileName)) {
        const std::string problem = MakeDatabase(base + kDatabaseFileName, schemaFile, database);
        if (!problem.empty()) {
            return problem;
        }
    }
    QSaveFile settings(Path(base + kSettingsFileName));
    const std::string text = DefaultSettingsText();
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !settings.commit()) {
        return "cannot write " + base + kSettingsFileName;
    }
    return {};
}

std::vector<std::string> SplitSqlScript(const std::string& script) {
    std::vector<std::string> statements;
    std::string current;
    const auto finish = [&] {
        const std::size_t first = current.find_first_not_of(" \t\r\n");
        if (first != std::string::npos) {
            const std::size_t last = current.find_last_not_of(" \t\r\n");
            statements.push_back(current.substr(first, last - first + 1));
        }
        current.clear();
    };
    bool quoted = false;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (quoted) {
            current += c;
            quoted = c != '\'';  // a doubled quote closes and reopens
        } else if (c == '\'') {
            current += c;
            quoted = true;
        } else if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            i = script.find('\n', i);
            if (i == std::string::npos) {
                break;
            }
            current += '\n';
        } else if (c == ';') {
            finish();
        } else {
            current += c;
        }
    }
    finish();
    return statements;
}

std::string DefaultSettingsText() {
    return "; QovCom settings, made at the first start. Edit freely: the program never rewrites\n"
           "; this file. {app.path}\\ stands for the folder this file is in.\n"
           "[database]\n"
           "connectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\n"
           "\n"
           "[modem]\n"
           "atdt=ATDT\n"
           "atdp=ATDP\n"
           "atdisconnect=ATH0\n"
           "\n"
           "[application.rules]\n"
           "maxcena=99999999\n"
           "maxcek=1000000\n"
           "maxkartica=1000000\n"
           "maxkes=1000000\n"
           "fontcyrilic=Helvetica Ciril\n"
           "fontlatin=Courier New\n"
           "\n"
           "; Com1 ... Com8 of the line screen; without a key Com<n> is /dev/ttyS<n-1>.\n"
           "[ports]\n"
           ";com1=/dev/ttyUSB0\n"
           ";com2=tcp://192.0.2.10:4001\n"
           "\n"
           "; trace=1 writes every byte on the line to a trace file in this folder.\n"
           "[link]\n"
           "trace=0\n";
}

std::string ManualPageUrl(const std::string& sharedFolder, const std::string& page) {
    const QFileInfo file(Path(WithSeparator(sharedFolder) + "manual/" + page));
    if (!file.isFile()) {
        return {};
    }
    return QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace qov
