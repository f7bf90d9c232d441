#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QRawFont>

#include "text/transcode.h"

namespace {

// The Cyrillic display font copied next to the program by the build.
const QString kFontPath = QStringLiteral(QOV_BIN_DIR "/HelveticaCiril.ttf");

quint32 Glyph(const QRawFont& font, char32_t code) {
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&code, 1));
    return glyphs.isEmpty() ? 0 : glyphs.front();
}

TEST(CyrillicFont, FontCharactersDrawTheirLettersAndOtherCharactersTheirOwnGlyphs) {
    const int id = QFontDatabase::addApplicationFont(kFontPath);
    ASSERT_TRUE(QFontDatabase::applicationFontFamilies(id).contains("Helvetica Ciril"));
    const QRawFont font(kFontPath, 24);
    QList<quint32> cyrillic;
    for (char32_t code = 0x401; code <= 0x45F; ++code) {
        cyrillic.append(Glyph(font, code));
        if (const char fontChar = qov::FontCharForCyrillic(code)) {
            EXPECT_NE(cyrillic.back(), 0u) << static_cast<int>(code);
            EXPECT_EQ(Glyph(font, static_cast<unsigned char>(fontChar)), cyrillic.back())
                << "font char " << fontChar;
        }
    }
    EXPECT_EQ(Glyph(font, 'Y'), Glyph(font, U'Џ'));
    EXPECT_EQ(Glyph(font, 'y'), Glyph(font, U'џ'));
    // Digits, blanks and punctuation outside the letter table keep distinct glyphs of their own.
    QList<quint32> seen;
    for (const QChar ch : QStringLiteral("0123456789 .,:;-+*/=?!#$%&()'\"<>_")) {
        const quint32 glyph = Glyph(font, ch.unicode());
        EXPECT_NE(glyph, 0u) << ch.toLatin1();
        EXPECT_FALSE(cyrillic.contains(glyph) || seen.contains(glyph)) << ch.toLatin1();
        seen.append(glyph);
    }
}

}  // namespace
