#include "app/sql_dialect.h"

#include <cstddef>

namespace qov {

namespace {

// ASCII only: the process locale must not make bytes 128-255 count as letters.
bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the keyword (lower case) stands at `pos` as a whole word.
bool KeywordAt(const std::string& s, std::size_t pos, const char* keyword) {
    std::size_t k = 0;
    for (; keyword[k] != '\0'; ++k) {
        if (pos + k >= s.size() || Lower(s[pos + k]) != keyword[k]) {
            return false;
        }
    }
    if (pos > 0 && IsWordChar(s[pos - 1])) {
        return false;
    }
    return pos + k >= s.size() || !IsWordChar(s[pos + k]);
}

// Index just past a quoted run starting at `pos` ('...' or "..."); a doubled quote inside
// simply closes and reopens the run. Returns s.size() when the run is not closed.
std::size_t SkipQuoted(const std::string& s, std::size_t pos) {
    const char quote = s[pos];
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == quote) {
            return i + 1;
        }
    }
    return s.size();
}

std::size_t SkipBlanks(const std::string& s, std::size_t pos) {
    while (pos < s.size() && IsBlank(s[pos])) {
        ++pos;
    }
    return pos;
}

std::size_t SkipWord(const std::string& s, std::size_t pos) {
    while (pos < s.size() && IsWordChar(s[pos])) {
        ++pos;
    }
    return pos;
}

// Drops blanks and semicolons at the end, unless the text ends inside an open literal.
std::string TrimTail(const std::string& s) {
    std::size_t lastCodeStart = 0;  // first index after the last closed literal
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '\'' || s[i] == '"') {
            const std::size_t close = s.find(s[i], i + 1);
            if (close == std::string::npos) {
                return s;  // unterminated literal: leave it to the engine to complain
            }
            const std::size_t end = close + 1;
            i = end;
            lastCodeStart = end;
        } else {
            ++i;
        }
    }
    std::size_t end = s.size();
    while (end > lastCodeStart && (IsBlank(s[end - 1]) || s[end - 1] == ';')) {
        --end;
    }
    return s.substr(0, end);
}

// "delete * from X" and "delete T.* from X" -> "delete from X".
std::string AdaptDelete(const std::string& s, std::size_t afterDelete) {
    std::size_t p = SkipBlanks(s, afterDelete);
    const std::size_t starStart = p;
    if (p < s.size() && IsIdentStart(s[p])) {
        p = SkipWord(s, p);
        if (p >= s.size() || s[p] != '.') {
            return s;
        }
        ++p;
    }
    if (p >= s.size() || s[p] != '*') {
        return s;
    }
    const std::size_t from = SkipBlanks(s, p + 1);
    if (!KeywordAt(s, from, "from")) {
        return s;
    }
    const std::string gap = starStart == afterDelete ? " " : "";  // "delete*from"
    return s.substr(0, starStart) + gap + s.substr(from);
}

// The first index from `pos` that stands outside literals and parentheses and where `stop`
// holds; s.size() when there is none.
template <typename Stop>
std::size_t FindTopLevel(const std::string& s, std::size_t pos, Stop stop) {
    int depth = 0;
    while (pos < s.size()) {
        const char c = s[pos];
        if (c == '\'' || c == '"') {
            pos = SkipQuoted(s, pos);
            continue;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (depth == 0 && stop(pos)) {
            return pos;
        }
        ++pos;
    }
    return s.size();
}

// In the SET list of an UPDATE, "T.col =" -> "col =".
std::string AdaptUpdate(const std::string& s, std::size_t afterUpdate) {
    const std::size_t set =
        FindTopLevel(s, afterUpdate, [&](std::size_t i) { return KeywordAt(s, i, "set"); });
    if (set == s.size()) {
        return s;
    }

    std::string out = s.substr(0, set + 3);
    std::size_t i = set + 3;
    while (i < s.size()) {
        // Start of one assignment: blanks, then the target.
        const std::size_t targetStart = SkipBlanks(s, i);
        out.append(s, i, targetStart - i);
        i = targetStart;
        if (i < s.size() && IsIdentStart(s[i])) {
            std::size_t lastPart = i;
            std::size_t p = SkipWord(s, i);
            while (p + 1 < s.size() && s[p] == '.' && IsIdentStart(s[p + 1])) {
                lastPart = p + 1;
                p = SkipWord(s, p + 1);
            }
            const std::size_t eq = SkipBlanks(s, p);
            if (eq < s.size() && s[eq] == '=') {
                i = lastPart;  // drop the qualifiers
            }
        }
        // The value: up to a comma or WHERE at the top level.
        const std::size_t valueStart = i;
        i = FindTopLevel(s, i,
                         [&](std::size_t at) { return s[at] == ',' || KeywordAt(s, at, "where"); });
        const bool where = i < s.size() && s[i] != ',';
        out.append(s, valueStart, i - valueStart);
        if (where || i >= s.size()) {
            out.append(s, i, std::string::npos);
            break;
        }
        out.push_back(',');
        ++i;
    }
    return out;
}

}  // namespace

std::string AdaptSqlForEngines(const std::string& sql) {
    const std::string s = TrimTail(sql);
    const std::size_t start = SkipBlanks(s, 0);
    if (KeywordAt(s, start, "delete")) {
        return AdaptDelete(s, start + 6);
    }
    if (KeywordAt(s, start, "update")) {
        return AdaptUpdate(s, start + 6);
    }
    return s;
}

}  // namespace qov
