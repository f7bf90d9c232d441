// Fuzz target: the INI reader and the program file loader on any file. The file's values are
// read, one value is written and the file saved: read back, every other value is as it was.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ini_file.h"
#include "fuzz_station.h"
#include "progfile/program_file.h"

namespace {

// The program file's sections, one that is not, and the one the fuzzer writes to.
const char* const kSections[] = {"QOVCOM",  "HEADER", "DEPARTMENTS", "OPERATORS", "SISTEM",
                                 "SETPORT", "VALUTE", "other",       "FUZZ"};

// A folder of its own for the file, in memory where there is /dev/shm (saving syncs the file).
const std::string& folder() {
    static const auto* path = [] {
        const std::filesystem::path shm = "/dev/shm";
        const auto base =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        std::string pattern = (base / "qovfuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        std::atexit([] { std::filesystem::remove_all(folder()); });
        return new std::string(pattern);  // kept to the very end, for the exit handler
    }();
    return *path;
}

std::vector<std::string> allValues(const qov::IniFile& ini) {
    std::vector<std::string> values;
    for (const char* section : kSections) {
        if (std::string(section) == "FUZZ")
            continue;
        for (const std::string& key : ini.keyNames(section))
            values.push_back(key + "=" + ini.getRawString(section, key, "?"));
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = folder() + "/program.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    qov::fuzz::FuzzStation s;
    s.state.ProgramFilePath = path;
    qov::LoadProgramFile(s.state, s.dialogs);

    qov::IniFile ini(path);
    if (!ini.readProblem().empty())
        return 0;  // neither read nor replaced
    const std::vector<std::string> before = allValues(ini);
    ini.setString("FUZZ", "KEY", "value");
    ini.save();
    ini.reload();
    if (ini.getString("FUZZ", "KEY", "") != "value" || allValues(ini) != before)
        std::abort();
    return 0;
}
