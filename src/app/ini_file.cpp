#include "app/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/file_check.h"
#include "app/run_error.h"

namespace qov {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

}  // namespace

// A value as the profile call hands it over: cut at a NUL byte, at most kBufferSize - 1 bytes.
std::string IniFile::AsProfileBuffer(std::string value) {
    const std::size_t nul = value.find('\0');
    if (nul != std::string::npos) {
        value.erase(nul);
    }
    if (value.size() > kBufferSize - 1) {
        value.resize(kBufferSize - 1);
    }
    return value;
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    reload();
}

bool IniFile::exists() const {
    return QFileInfo::exists(QFile::decodeName(path_.c_str()));
}

int IniFile::sectionIndex(std::string_view name) {
    sections_.emplace_back(name);
    return static_cast<int>(sections_.size()) - 1;
}

IniFile::Line IniFile::append(std::string_view text, Kind kind, int section) {
    Line line;
    line.begin = static_cast<std::uint32_t>(text_.size());
    line.length = static_cast<std::uint32_t>(text.size());
    line.kind = kind;
    line.section = section;
    text_.append(text);
    return line;
}

// Splits the content into entries: headers and key lines one each, every run of other lines
// as one entry.
void IniFile::parse(std::string_view content) {
    int section = -1;
    bool inRun = false;
    std::size_t start = 0;
    const std::size_t size = content.size();
    while (start < size) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = size;
        }
        std::size_t textEnd = end;
        if (textEnd > start && content[textEnd - 1] == '\r') {
            --textEnd;
        }
        const std::string_view text = content.substr(start, textEnd - start);
        // Only the first non-blank byte decides the kind of line.
        std::size_t first = 0;
        while (first < text.size() && isBlank(text[first])) {
            ++first;
        }
        const char lead = first < text.size() ? text[first] : '\0';
        const std::size_t equals = text.find('=');
        Kind kind = Kind::Other;
        if (lead == '[') {
            kind = Kind::Header;
        } else if (first < text.size() && lead != ';' && equals != std::string_view::npos) {
            kind = Kind::Key;
        }
        if (kind == Kind::Other) {
            if (inRun) {
                lines_.back().length = static_cast<std::uint32_t>(textEnd - lines_.back().begin);
            } else {
                Line line;
                line.begin = static_cast<std::uint32_t>(start);
                line.length = static_cast<std::uint32_t>(textEnd - start);
                line.section = section;
                lines_.push_back(line);
                inRun = true;
            }
        } else {
            Line line;
            line.begin = static_cast<std::uint32_t>(start);
            line.length = static_cast<std::uint32_t>(textEnd - start);
            line.kind = kind;
            if (kind == Kind::Header) {
                const std::string_view inner = text.substr(first + 1);
                const std::size_t close = inner.find(']');
                section = sectionIndex(trimBlanks(std::string(inner.substr(0, close))));
            } else {
                const std::string key(text.substr(0, equals));
                std::size_t keyBegin = 0;
                while (keyBegin < key.size() && isBlank(key[keyBegin])) {
                    ++keyBegin;
                }
                line.keyBegin = static_cast<std::uint32_t>(keyBegin);
                line.keyLength = static_cast<std::uint32_t>(trimBlanks(key).size());
            }
            line.section = section;
            lines_.push_back(line);
            inRun = false;
        }
        start = end + 1;
    }
}

void IniFile::reload() {
    lines_.clear();
    sections_.clear();
    text_.clear();
    readProblem_.clear();
    byteOrderMark_ = false;
    const std::string problem = TextFileProblem(path_);
    if (problem == "file not found") {
        return;
    }
    if (!problem.empty()) {
        readProblem_ = problem;
        return;
    }
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        readProblem_ = "cannot be read";
        return;
    }
    // Never more than the cap, even from a file that grows while it is read; a piece at a
    // time, so that a small file costs little (the settings file is read often).
    char piece[16384];
    do {
        in.read(piece, sizeof piece);
        text_.append(piece, static_cast<std::size_t>(in.gcount()));
    } while (in && text_.size() <= kMaxTextFileSize);
    if (text_.size() > kMaxTextFileSize) {
        text_.clear();
        readProblem_ = "larger than 4 MB";
        return;
    }
    byteOrderMark_ = text_.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::size_t skip = byteOrderMark_ ? 3 : 0;
    const std::string_view content = std::string_view(text_).substr(skip);
    lineEnd_ = content.find("\r\n") != std::string_view::npos ||
                       content.find('\n') == std::string_view::npos
                   ? "\r\n"
                   : "\n";
    parse(content);
    if (skip != 0) {
        for (Line& line : lines_) {
            line.begin += static_cast<std::uint32_t>(skip);
        }
    }
}

int IniFile::findKeyLine(const std::string& section, const std::string& key) const {
    // The first section of that name holds the keys that are read.
    bool inSection = false;
    bool seenSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Header) {
            if (seenSection && inSection) {
                return -1;
            }
            inSection = sameName(sections_[line.section], section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection && line.kind == Kind::Key && line.keyLength > 0 &&
            sameName(keyOf(line), key)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
    return findKeyLine(section, key) >= 0;
}

std::string IniFile::getString(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
    const int index = findKeyLine(section, key);
    std::string value = defaultValue;
    if (index >= 0) {
        const std::string_view text = textOf(lines_[index]);
        value = trimBlanks(text.substr(text.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
    }
    return AsProfileBuffer(std::move(value));
}

std::string IniFile::getRawString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    const int index = findKeyLine(section, key);
    std::string value = defaultValue;
    if (index >= 0) {
        const std::string_view text = textOf(lines_[index]);
        value = std::string(text.substr(text.find('=') + 1));
        const std::string quoted = trimBlanks(value);
        if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"') {
            value = quoted.substr(1, quoted.size() - 2);
        }
    }
    return AsProfileBuffer(std::move(value));
}

std::vector<std::string> IniFile::keyNames(const std::string& section) const {
    std::vector<std::string> names;
    bool inSection = false;
    bool seenSection = false;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Header) {
            if (seenSection && inSection) {
                break;
            }
            inSection = sameName(sections_[line.section], section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection && line.kind == Kind::Key && line.keyLength > 0) {
            names.emplace_back(keyOf(line));
        }
    }
    return names;
}

// Splits the run of other lines at `index` after its last line that is not blank, so that a
// key can go between the two; returns the index of the entry that ends with that line, or
// npos when the run holds only blank lines.
std::size_t IniFile::splitAfterLastText(std::size_t index) {
    const Line run = lines_[index];
    const std::string_view text = textOf(run);
    std::size_t lineStart = 0, lastTextEnd = std::string_view::npos;
    while (lineStart <= text.size()) {
        std::size_t end = text.find('\n', lineStart);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (!trimBlanks(text.substr(lineStart, end - lineStart)).empty()) {
            lastTextEnd = end;
        }
        lineStart = end + 1;
    }
    if (lastTextEnd == std::string_view::npos) {
        return std::string::npos;
    }
    std::size_t textEnd = lastTextEnd;
    if (textEnd > 0 && text[textEnd - 1] == '\r') {
        --textEnd;
    }
    if (lastTextEnd < text.size()) {
        Line tail = run;
        tail.begin = run.begin + static_cast<std::uint32_t>(lastTextEnd + 1);
        tail.length = run.length - static_cast<std::uint32_t>(lastTextEnd + 1);
        lines_[index].length = static_cast<std::uint32_t>(textEnd);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index) + 1, tail);
    }
    return index;
}

void IniFile::setString(const std::string& section, const std::string& key,
                        const std::string& value) {
    const std::string text = key + "=" + value;
    const int index = findKeyLine(section, key);
    if (index >= 0) {
        Line& line = lines_[index];
        const Line changed = append(text, Kind::Key, line.section);
        line.begin = changed.begin;
        line.length = changed.length;
        line.keyBegin = 0;
        line.keyLength = static_cast<std::uint32_t>(key.size());
        return;
    }

    // Add the key after the last non-blank line of the first section of that name.
    int header = -1;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Header && sameName(sections_[lines_[i].section], section)) {
            header = static_cast<int>(i);
            break;
        }
    }
    if (header < 0) {
        const int added = sectionIndex(section);
        lines_.push_back(append("[" + section + "]", Kind::Header, added));
        Line line = append(text, Kind::Key, added);
        line.keyLength = static_cast<std::uint32_t>(key.size());
        lines_.push_back(line);
        return;
    }
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Header; ++i) {
        if (lines_[i].kind == Kind::Key) {
            insertAt = i + 1;
        } else if (const std::size_t last = splitAfterLastText(i); last != std::string::npos) {
            insertAt = last + 1;
        }
    }
    Line line = append(text, Kind::Key, lines_[header].section);
    line.keyLength = static_cast<std::uint32_t>(key.size());
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

void IniFile::removeSection(const std::string& section) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool removing = false;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Header) {
            removing = sameName(sections_[line.section], section);
        }
        if (!removing) {
            kept.push_back(line);
        }
    }
    lines_ = std::move(kept);
}

void IniFile::save() const {
    if (!readProblem_.empty() || !ReplaceFileProblem(path_).empty()) {
        throw RunError(
            RunError::kPermissionDenied,
            path_ + ": " + (readProblem_.empty() ? ReplaceFileProblem(path_) : readProblem_));
    }
    // The mark goes back: without it a second mark, or what follows it, would start the file.
    std::string content = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    content.reserve(text_.size() + lines_.size() * 2);
    for (const Line& line : lines_) {
        // A run of other lines: each of its lines gets the file's line end.
        const std::string_view text = textOf(line);
        std::size_t start = 0;
        while (true) {
            std::size_t end = text.find('\n', start);
            const bool last = end == std::string_view::npos;
            std::string_view piece =
                text.substr(start, last ? std::string_view::npos : end - start);
            if (!last && !piece.empty() && piece.back() == '\r') {
                piece.remove_suffix(1);
            }
            content += piece;
            // A line whose text ends with a CR keeps it: the reader takes one CR before the LF
            // as part of the line end.
            content += !piece.empty() && piece.back() == '\r' ? "\r\n" : lineEnd_;
            if (last) {
                break;
            }
            start = end + 1;
        }
    }
    // Unbuffered: a write cut short (a full disk) shows in the count it returns, where a
    // buffered one would be cut at the commit without an error and renamed over the old file.
    QSaveFile file(QFile::decodeName(path_.c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const bool folderExists = QFileInfo(QFileInfo(file.fileName()).absolutePath()).isDir();
        throw RunError(folderExists ? RunError::kPermissionDenied : RunError::kPathNotFound,
                       folderExists ? "Permission denied" : "Path not found");
    }
    // Either way the old file stays whole: the new one is written beside it and dropped.
    if (file.write(content.data(), static_cast<qint64>(content.size())) !=
        static_cast<qint64>(content.size())) {
        file.cancelWriting();
        throw RunError(RunError::kDiskFull, "Disk full");
    }
    if (!file.commit()) {
        throw RunError(RunError::kPermissionDenied, "Permission denied");
    }
}

void IniFile::writeValue(const std::string& section, const std::string& key,
                         const std::string& value) {
    reload();
    setString(section, key, value);
    save();
}

void IniFile::deleteSection(const std::string& section) {
    reload();
    removeSection(section);
    save();
}

}  // namespace qov
