#pragma once

#include <string>

namespace qov::test {

// Prepares the process for tests: offscreen platform, a private runtime folder and a
// private per-user settings folder, so tests never touch a user's real settings.
void PrepareTestEnvironment();

// A fresh empty folder under the system's temporary folder, removed at process exit.
std::string MakeTempFolder(const std::string& prefix = "qovtest");

// Writes `content` to `path` (bytes as they are).
void WriteFile(const std::string& path, const std::string& content);

// Reads a whole file (bytes as they are); empty text when it cannot be read.
std::string ReadFile(const std::string& path);

// A fresh embedded database made from the project's schema; returns its connection string.
std::string MakeTempDatabase();

}  // namespace qov::test
