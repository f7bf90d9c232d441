#pragma once

#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

#include "app/database.h"

namespace qov::bench {

// A fresh embedded database in `folder`, made from the schema file; returns its connection
// string, written as the settings file writes it.
inline std::string MakeBenchDatabase(const QTemporaryDir& folder) {
    const std::string path = folder.path().toStdString() + "/QovCom.db";
    std::ofstream(path, std::ios::binary).flush();
    const std::string connection =
        "Driver=SQLite;Database=" + folder.path().toStdString() + "\\QovCom.db";
    std::ifstream in(QOV_SOURCE_DIR "/db/sqlite.sql");
    std::string text;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("--", 0) != 0) {
            text += line + "\n";
        }
    }
    auto db = CreateSqlDatabase();
    db->open(connection);
    std::stringstream parts(text);
    for (std::string statement; std::getline(parts, statement, ';');) {
        if (statement.find_first_not_of(" \r\n\t") != std::string::npos) {
            db->execute(statement);
        }
    }
    db->close();
    return connection;
}

}  // namespace qov::bench
