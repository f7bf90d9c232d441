#include "app/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/run_error.h"

namespace qov {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    reload();
}

bool IniFile::exists() const {
    return QFileInfo::exists(QFile::decodeName(path_.c_str()));
}

IniFile::Line IniFile::parseLine(const std::string& text, const std::string& currentSection) {
    Line line;
    line.text = text;
    line.section = currentSection;
    const std::string trimmed = trimBlanks(text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        line.header = true;
        line.section = trimBlanks(
            trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    if (trimmed.empty() || trimmed.front() == ';') {
        return line;
    }
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) {
        line.key = trimBlanks(text.substr(0, equals));
    }
    return line;
}

void IniFile::reload() {
    lines_.clear();
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        return;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    std::string content = buffer.str();
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        content.erase(0, 3);
    }
    lineEnd_ = content.find("\r\n") != std::string::npos || content.find('\n') == std::string::npos
                   ? "\r\n"
                   : "\n";

    std::string section;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) {
            end = content.size();
        }
        std::string text = content.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        Line line = parseLine(text, section);
        if (line.header) {
            section = line.section;
        }
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

int IniFile::findKeyLine(const std::string& section, const std::string& key) const {
    // The first section of that name holds the keys that are read.
    bool inSection = false;
    bool seenSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.header) {
            if (seenSection && inSection) {
                return -1;
            }
            inSection = sameName(line.section, section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection && !line.key.empty() && sameName(line.key, key)) {
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
        const std::string& text = lines_[index].text;
        value = trimBlanks(text.substr(text.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
    }
    const std::size_t nul = value.find('\0');
    if (nul != std::string::npos) {
        value.erase(nul);
    }
    if (value.size() > kBufferSize - 1) {
        value.resize(kBufferSize - 1);
    }
    return value;
}

std::string IniFile::getRawString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    const int index = findKeyLine(section, key);
    std::string value = defaultValue;
    if (index >= 0) {
        const std::string& text = lines_[index].text;
        value = text.substr(text.find('=') + 1);
        const std::string quoted = trimBlanks(value);
        if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"') {
            value = quoted.substr(1, quoted.size() - 2);
        }
    }
    const std::size_t nul = value.find('\0');
    if (nul != std::string::npos) {
        value.erase(nul);
    }
    if (value.size() > kBufferSize - 1) {
        value.resize(kBufferSize - 1);
    }
    return value;
}

std::vector<std::string> IniFile::keyNames(const std::string& section) const {
    std::vector<std::string> names;
    bool inSection = false;
    bool seenSection = false;
    for (const Line& line : lines_) {
        if (line.header) {
            if (seenSection && inSection) {
                break;
            }
            inSection = sameName(line.section, section);
            seenSection = seenSection || inSection;
            continue;
        }
        if (inSection && !line.key.empty()) {
            names.push_back(line.key);
        }
    }
    return names;
}

void IniFile::setString(const std::string& section, const std::string& key,
                        const std::string& value) {
    const std::string text = key + "=" + value;
    const int index = findKeyLine(section, key);
    if (index >= 0) {
        lines_[index].text = text;
        return;
    }

    // Add the key after the last non-blank line of the first section of that name.
    int header = -1;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header && sameName(lines_[i].section, section)) {
            header = static_cast<int>(i);
            break;
        }
    }
    Line line;
    line.text = text;
    line.key = key;
    if (header < 0) {
        line.section = section;
        Line head;
        head.text = "[" + section + "]";
        head.section = section;
        head.header = true;
        lines_.push_back(head);
        lines_.push_back(line);
        return;
    }
    line.section = lines_[header].section;
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (!trimBlanks(lines_[i].text).empty()) {
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

void IniFile::removeSection(const std::string& section) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool removing = false;
    for (Line& line : lines_) {
        if (line.header) {
            removing = sameName(line.section, section);
        }
        if (!removing) {
            kept.push_back(std::move(line));
        }
    }
    lines_ = std::move(kept);
}

void IniFile::save() const {
    std::string content;
    for (const Line& line : lines_) {
        content += line.text;
        content += lineEnd_;
    }
    QSaveFile file(QFile::decodeName(path_.c_str()));
    if (!file.open(QIODevice::WriteOnly)) {
        const bool folderExists = QFileInfo(QFileInfo(file.fileName()).absolutePath()).isDir();
        throw RunError(folderExists ? RunError::kPermissionDenied : RunError::kPathNotFound,
                       folderExists ? "Permission denied" : "Path not found");
    }
    file.write(content.data(), static_cast<qint64>(content.size()));
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
