#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include <string>

#include "text/transcode.h"

namespace qov {

// Register-side texts are bytes; on screen they are Latin-1.
inline QString ToScreen(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A field's text as bytes: a Cyrillic letter typed on a Cyrillic keyboard becomes the font
// character that stands for it; any other character outside Latin-1 becomes "?".
inline std::string FromScreen(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x100) {
            bytes.push_back(static_cast<char>(code));
        } else if (char font = FontCharForCyrillic(code); font != 0) {
            bytes.push_back(font);
        } else {
            bytes.push_back('?');
        }
    }
    return bytes;
}

// Sets a widget's font family; a setting left blank (" ") keeps the font it has.
inline void SetFontFamily(QWidget* widget, const std::string& family) {
    if (family.empty() || family == " ") {
        return;
    }
    QFont font = widget->font();
    font.setFamily(ToScreen(family));
    widget->setFont(font);
}

}  // namespace qov
