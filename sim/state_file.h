// The register's memory as a JSON file, so that it survives a restart. Texts are byte strings
// written as Latin-1 JSON strings (byte n is U+00nn); logos as base64.
#pragma once

#include <string>

#include "memory.h"

namespace qov::sim {

// The whole memory as JSON text.
std::string memoryToJson(const Memory& memory);
// Fills memory from JSON text; fields that are missing keep their values. False (memory
// untouched, the reason in error) when the text is not a JSON object or holds more than the
// memory takes: more articles than pluCapacity, a logo over kMaxLogoBytes, more daily records
// than the fiscal memory's blocks.
bool memoryFromJson(const std::string& json, Memory& memory, std::string* error = nullptr,
                    int pluCapacity = kDefaultPluCapacity);

// The largest state file loadState reads.
inline constexpr long long kMaxStateFileBytes = 4LL * 1024 * 1024;

// Writes the file through a temporary file and a rename, so a crash never leaves half a file;
// a write that fails (a full disk) or a memory over kMaxStateFileBytes leaves the old file.
bool saveState(const Memory& memory, const std::string& path, std::string* error = nullptr);
// Missing file: true with the memory untouched. Anything but a regular file, a file over
// kMaxStateFileBytes (both refused before reading), an unreadable or broken file, or one that
// does not fit the memory: false, the memory untouched.
bool loadState(Memory& memory, const std::string& path, std::string* error = nullptr,
               int pluCapacity = kDefaultPluCapacity);

}  // namespace qov::sim
