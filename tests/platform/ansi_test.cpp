// SPDX-License-Identifier: GPL-3.0-or-later
// The code page of the model texts: round trip, the special bytes, the Ctrl+letter symbols.
#include "ansi.h"

#include <gtest/gtest.h>

#include <QSet>

namespace qvt {
namespace {

TEST(Ansi, EveryByteRoundTripsThroughItsOwnCharacter) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  const QString text = AnsiToQString(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(AnsiFromQString(text), all);
  QSet<QChar> distinct(text.begin(), text.end());
  EXPECT_EQ(distinct.size(), 256);
  // The UTF-8 that programs without Qt write says the same.
  EXPECT_EQ(QString::fromStdString(AnsiToUtf8(all)), text);
}

TEST(Ansi, SpecialBytes) {
  const struct {
    unsigned char byte;
    char16_t ch;
  } cases[] = {
      {0x9D, u'\u03A9'}, // ohm sign of the units
      {0xB5, u'\u00B5'}, // micro prefix
      {0xB0, u'\u00B0'}, // degree
      {0xC0, u'\u2191'}, // rising edge
      {0xC1, u'\u2193'}, // falling edge
      {0x80, u'\u03B1'}, {0x88, u'\u03BB'}, {0x8A, u'\u03BD'}, {0x90, u'\u03C9'},
      {0x93, u'\u03BE'}, {0x95, u'\u03B6'}, {0x96, u'\u0394'}, {0x9F, u'\u03A8'},
      {0x89, u'\u2030'}, {0x91, u'\u2018'}, {0x92, u'\u2019'}, // left as in Windows-1252
      {'A', u'A'},       {0xE9, u'\u00E9'}, {0xC2, u'\u00C2'}, {0xFF, u'\u00FF'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnsiToUnicode(c.byte), c.ch) << std::hex << int(c.byte);
    EXPECT_EQ(static_cast<unsigned char>(UnicodeToAnsi(c.ch)), c.byte) << std::hex << int(c.byte);
  }
}

// The main window types 0x80-0x9F with Ctrl+letter (lower case) and Ctrl+Shift+letter
// (capitals); for a letter with both, the two bytes must be the two cases of one letter.
TEST(Ansi, CtrlLetterCapitalsMatchTheirSmallLetters) {
  const struct {
    char letter;
    unsigned char small, capital;
  } keys[] = {{'D', 131, 150}, {'F', 133, 151}, {'G', 134, 152}, {'L', 136, 153}, {'P', 139, 154},
              {'Q', 140, 155}, {'S', 142, 156}, {'W', 144, 157}, {'X', 147, 158}, {'J', 148, 159}};
  for (const auto& k : keys) {
    const QChar small(AnsiToUnicode(k.small)), capital(AnsiToUnicode(k.capital));
    EXPECT_EQ(small.script(), QChar::Script_Greek) << k.letter;
    EXPECT_TRUE(small.isLower()) << k.letter;
    EXPECT_EQ(small.toUpper(), capital) << k.letter;
  }
}

TEST(Ansi, CharactersWithoutAByte) {
  EXPECT_EQ(AnsiFromQString(QString::fromUtf8("\u00C0 \u00C1 \u20AC \u65E5")), "? ? ? ?");
  // A character outside the 16-bit range is one character, so one '?'.
  EXPECT_EQ(AnsiFromQString(QString::fromUtf8("a\U0001F600b")), "a?b");
  // The ohm sign and the Greek mu are written with the bytes the units use.
  EXPECT_EQ(AnsiFromQString(QString::fromUtf8("k\u2126 \u03BCs")), "k\x9D \xB5s");
}

} // namespace
} // namespace qvt
