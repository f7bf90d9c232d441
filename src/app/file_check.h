#pragma once

#include <cstdint>
#include <string>

namespace qov {

// Settings, program and simulator state files are a few kilobytes; anything larger than this
// is not one of them and is refused before it is read.
inline constexpr std::uintmax_t kMaxTextFileSize = 4u * 1024u * 1024u;

// Why `path` cannot be read as a small text file: "file not found", "not a regular file"
// (a device, a pipe, a folder), "larger than 4 MB"; empty when it can.
std::string TextFileProblem(const std::string& path);

// Why `path` cannot be replaced by a new file: "not a regular file" when something other than
// a regular file (a device, a pipe, a folder) stands there; empty otherwise.
std::string ReplaceFileProblem(const std::string& path);

}  // namespace qov
