#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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
//
// Something that is not a regular file (a device, a pipe) or a file above kMaxTextFileSize is
// neither read nor replaced: it reads as empty with readProblem() saying why, and save()
// refuses it. Reading and memory are linear in the file's size: runs of lines that are neither
// keys nor section headers are kept as one piece.
class IniFile {
public:
    static constexpr std::size_t kBufferSize = 255;

    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }
    bool exists() const;

    // Re-reads the file from disk; a missing or unreadable file reads as empty.
    void reload();

    // Why the file was not read ("not a regular file", "larger than 4 MB", a system error);
    // empty when it was read or does not exist.
    const std::string& readProblem() const { return readProblem_; }

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
    enum class Kind : std::uint8_t { Other, Header, Key };
    // One entry: a section header, a key line, or a run of other lines (blank lines, comments,
    // junk) kept as one piece. Its bytes are text_[begin, begin + length), the line ends
    // inside a run included, its own line end not.
    struct Line {
        std::uint32_t begin = 0;
        std::uint32_t length = 0;
        std::uint32_t keyBegin = 0;  // key lines: the key's bytes within the line
        std::uint32_t keyLength = 0;
        std::int32_t section = -1;  // index into sections_ (the section the line is in)
        Kind kind = Kind::Other;
    };

    static std::string AsProfileBuffer(std::string value);
    std::string_view textOf(const Line& line) const {
        return std::string_view(text_).substr(line.begin, line.length);
    }
    std::string_view keyOf(const Line& line) const {
        return textOf(line).substr(line.keyBegin, line.keyLength);
    }
    int findKeyLine(const std::string& section, const std::string& key) const;
    int sectionIndex(std::string_view name);
    Line append(std::string_view text, Kind kind, int section);
    void parse(std::string_view content);
    std::size_t splitAfterLastText(std::size_t index);

    std::string path_;
    std::string text_;  // the file's bytes, then the text of lines changed or added
    std::vector<std::string> sections_;
    std::vector<Line> lines_;
    std::string lineEnd_ = "\r\n";
    bool byteOrderMark_ = false;  // the file starts with one: written back on save
    std::string readProblem_;
};

}  // namespace qov
