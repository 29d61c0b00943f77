#include "platform/graphics/MacRoman.h"

#include "platform/graphics/cairo/FontLookup.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

TEST(MacRoman, AsciiPassesThroughAndHighBytesDecode)
{
    EXPECT_EQ(macRomanToUtf8("Ra : 17h"), "Ra : 17h");
    // 0xA1 is the degree sign, 0x8E e acute, 0xD5 the right single quotation mark.
    EXPECT_EQ(macRomanToUnicode(0xA1), U'\u00B0');
    EXPECT_EQ(macRomanToUtf8("\xA1"), "\u00B0");
    EXPECT_EQ(macRomanToUtf8("B\x8E"), "B\u00E9");
    EXPECT_EQ(macRomanToUtf8("\xD5"), "\u2019");
    EXPECT_EQ(macRomanToUtf8(""), "");
}

TEST(MacRoman, EveryByteDecodesToOneCharacter)
{
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = macRomanToUnicode(static_cast<unsigned char>(b));
        if (b < 0x80)
            EXPECT_EQ(cp, static_cast<char32_t>(b));
        else
            EXPECT_GE(cp, 0xA0u) << b;
    }
}

TEST(FontLookup, HelveticaResolvesToNimbusSans)
{
    EXPECT_EQ(resolveFontFamily("Helvetica"), "Nimbus Sans");
    // Cached answers are the same answers.
    EXPECT_EQ(resolveFontFamily("Helvetica"), "Nimbus Sans");
}

} // namespace
} // namespace dazed
