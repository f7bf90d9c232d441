#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QRawFont>
#include <QString>

#include "text/transcode.h"

namespace {

// The Cyrillic display font copied next to the program by the build.
const QString kFontPath = QStringLiteral(QOV_BIN_DIR "/HelveticaCiril.ttf");

TEST(CyrillicFont, LoadsUnderItsFamilyName) {
    const int id = QFontDatabase::addApplicationFont(kFontPath);
    ASSERT_GE(id, 0);
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(id).contains("Helvetica Ciril"));
}

quint32 Glyph(const QRawFont& font, char32_t code) {
    const QString text = QString::fromUcs4(&code, 1);
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    return glyphs.isEmpty() ? 0 : glyphs.front();
}

TEST(CyrillicFont, FontCharactersDrawTheirCyrillicLetters) {
    const QRawFont font(kFontPath, 24);
    ASSERT_TRUE(font.isValid());
    int letters = 0;
    for (char32_t code = 0x401; code <= 0x45F; ++code) {
        const char fontChar = qov::FontCharForCyrillic(code);
        if (fontChar == 0) {
            continue;
        }
        ++letters;
        const quint32 cyrillic = Glyph(font, code);
        EXPECT_NE(cyrillic, 0u) << static_cast<int>(code);
        EXPECT_EQ(Glyph(font, static_cast<unsigned char>(fontChar)), cyrillic)
            << "font char " << fontChar;
    }
    EXPECT_EQ(letters, 60);
    EXPECT_EQ(Glyph(font, 'Y'), Glyph(font, U'Џ'));
    EXPECT_EQ(Glyph(font, 'y'), Glyph(font, U'џ'));
}

TEST(CyrillicFont, OtherCharactersKeepTheirGlyphs) {
    const QRawFont font(kFontPath, 24);
    ASSERT_TRUE(font.isValid());
    // Digits, blanks and punctuation outside the letter table have glyphs of their own.
    const QString others = QStringLiteral("0123456789 .,:;-+*/=?!#$%&()'\"<>_");
    QList<quint32> seen;
    for (const QChar ch : others) {
        const quint32 glyph = Glyph(font, ch.unicode());
        EXPECT_NE(glyph, 0u) << ch.toLatin1();
        for (char32_t code = 0x401; code <= 0x45F; ++code) {
            EXPECT_NE(glyph, Glyph(font, code)) << ch.toLatin1();
        }
        EXPECT_FALSE(seen.contains(glyph)) << ch.toLatin1();
        seen.append(glyph);
    }
}

}  // namespace
