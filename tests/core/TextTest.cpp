#include <gtest/gtest.h>

#include "common/Text.h"

using namespace quillet;

TEST(Text, RecognisesUtf8AndRejectsWhatIsNot) {
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("Grüße aus Köln €"));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x93\x9D"));      // a four-byte character
  EXPECT_FALSE(IsValidUtf8("Gr\xFC\xDF" "e"));       // Windows-1252
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));             // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));         // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));             // cut short
}

TEST(Text, DecodesWindows1252WhereUtf8DoesNotFit) {
  EXPECT_EQ(DecodeLocalText("Gr\xFC\xDF" "e aus K\xF6ln"), "Grüße aus Köln");
  EXPECT_EQ(DecodeLocalText("\x80 5"), "€ 5");
  EXPECT_EQ(DecodeLocalText("\x93quoted\x94"), "\u201Cquoted\u201D");
  EXPECT_EQ(DecodeLocalText("schon UTF-8: äöü"), "schon UTF-8: äöü");
}

TEST(Text, HoldToWidthNeverSplitsACharacter) {
  EXPECT_EQ(HoldToWidth("abcdef", 4), "abcd");
  EXPECT_EQ(HoldToWidth("abc", 4), "abc");
  // "ä" takes two bytes; a cut in its middle moves before it.
  EXPECT_EQ(HoldToWidth("abcä", 4), "abc");
  EXPECT_EQ(HoldToWidth("ab€", 4), "ab");
  EXPECT_EQ(HoldToWidth("€€", 5), "€");
  const std::string held = HoldToWidth(std::string(3000, 'x') + "ü", 2047);
  EXPECT_EQ(held.size(), 2047u);
}

TEST(Text, FieldWithoutTerminatorStopsAtItsWidth) {
  const unsigned char field[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(FieldBytes(field, 4), "abcd");
  const unsigned char shorter[4] = {'a', 0, 'c', 'd'};
  EXPECT_EQ(FieldBytes(shorter, 4), "a");
}

TEST(Text, BordersNormaliseLineEndsAndCutsKeepCharactersWhole) {
  EXPECT_EQ(ToCrLf("one\ntwo\rthree\r\nfour"), "one\r\ntwo\r\nthree\r\nfour");
  EXPECT_EQ(ToLf("one\r\ntwo\rthree"), "one\ntwo\rthree");
  EXPECT_EQ(DecodeCutText("caf\xC3", true), "caf");          // an é cut after its lead byte
  EXPECT_EQ(DecodeCutText("\xE4\xB8", true), "");            // 中 cut after two of three bytes
  EXPECT_EQ(DecodeCutText("Gr\xFC\xDF" "e", true), "Grüße");  // Windows-1252 from the start
  EXPECT_EQ(DecodeCutText("a\xC3x", true), "aÃx");           // not a cut: the stray byte is Windows-1252
  EXPECT_EQ(DecodeCutText("caf\xE9 ok", true), "café ok");   // Windows-1252 é inside: no cut
  EXPECT_EQ(DecodeCutText("caf\xC3", false), "cafÃ");        // nothing was cut: Windows-1252
}
