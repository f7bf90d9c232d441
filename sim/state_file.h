// The register's memory as a JSON file, so that it survives a restart. Texts are byte strings
// written as Latin-1 JSON strings (byte n is U+00nn); logos as base64.
#pragma once

#include <string>

#include "memory.h"

namespace qov::sim {

// The whole memory as JSON text.
std::string memoryToJson(const Memory& memory);
// Fills memory from JSON text; fields that are missing keep their values. False (memory
// untouched) when the text is not a JSON object.
bool memoryFromJson(const std::string& json, Memory& memory);

// Writes the file through a temporary file and a rename, so a crash never leaves half a file.
bool saveState(const Memory& memory, const std::string& path, std::string* error = nullptr);
// Missing file: true with the memory untouched. Unreadable or broken: false.
bool loadState(Memory& memory, const std::string& path, std::string* error = nullptr);

}  // namespace qov::sim
