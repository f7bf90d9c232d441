#pragma once

#include <string>
#include <vector>

namespace qov {

// An INI file with profile-string semantics: sections and keys are found without
// regard to case, a value is read with a default into a 255-byte buffer, writing a
// value changes only that value's line (or adds one) and keeps every other line of
// the file as it was, a section can be deleted whole.
//
// The file is read when the object is made and again by reload(); writes are kept in
// memory until save(), which replaces the file atomically (a temporary file beside it,
// renamed over it), so a crash never leaves a half-written file. writeValue() is
// the one-shot form: it re-reads the file, changes one value and saves.
class IniFile {
public:
    static constexpr std::size_t kBufferSize = 255;

    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }
    bool exists() const;

    // Re-reads the file from disk; a missing or unreadable file reads as empty.
    void reload();

    // The value of section/key, or `defaultValue` when the key is absent; at most
    // kBufferSize - 1 bytes come back (the value is cut at a NUL byte first).
    // Surrounding blanks of the value are removed, and one pair of surrounding
    // double quotes.
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const;

    // The same value as written: a value between double quotes (blanks around the quotes
    // allowed) comes back without them, byte for byte; any other value comes back untrimmed.
    // Cut at a NUL byte and to kBufferSize - 1 bytes as getString does.
    std::string getRawString(const std::string& section, const std::string& key,
                             const std::string& defaultValue) const;

    // Whether section/key is present.
    bool hasKey(const std::string& section, const std::string& key) const;

    // The key names of a section, in file order.
    std::vector<std::string> keyNames(const std::string& section) const;

    // Changes (or adds) one value in memory.
    void setString(const std::string& section, const std::string& key, const std::string& value);

    // Removes a section with all its keys, in memory.
    void removeSection(const std::string& section);

    // Writes the file atomically. Throws RunError when it cannot be written.
    void save() const;

    // Profile-call style writes: re-read, change, save.
    void writeValue(const std::string& section, const std::string& key, const std::string& value);
    void deleteSection(const std::string& section);

private:
    struct Line {
        std::string text;     // the line as it stands in the file, without its line end
        std::string section;  // for key lines and section headers: the section name
        std::string key;      // for key lines: the key name (empty otherwise)
        bool header = false;
    };

    int findKeyLine(const std::string& section, const std::string& key) const;
    static Line parseLine(const std::string& text, const std::string& currentSection);

    std::string path_;
    std::vector<Line> lines_;
    std::string lineEnd_ = "\r\n";
};

}  // namespace qov
