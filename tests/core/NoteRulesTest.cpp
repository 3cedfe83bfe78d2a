#include <gtest/gtest.h>

#include "common/DateFormat.h"
#include "mainwnd/NewNotePosition.h"
#include "notes/Links.h"
#include "notes/NoteText.h"
#include "notewnd/NoteGeometry.h"

using namespace quillet;

TEST(Links, FoundByTheirMarksInTextOrder) {
  EXPECT_TRUE(ExtractLinks("no links here, just text").empty());
  EXPECT_TRUE(ExtractLinks("@start only").empty());
  EXPECT_EQ(ExtractLinks("see www.example.com or write to anna@example.com\r\nthanks"),
            (std::vector<std::string>{"anna@example.com"}));
  EXPECT_EQ(ExtractLinks("https://a.example/x\tand ftp://b.example"),
            (std::vector<std::string>{"https://a.example/x", "ftp://b.example"}));
  EXPECT_EQ(ExtractLinks("open \"C:\\My Files\\report.doc\" now"),
            (std::vector<std::string>{"C:\\My Files\\report.doc"}));
  // A quoted link that closes in its own word, at the end of the text, is not listed.
  EXPECT_TRUE(ExtractLinks("\"C:\\x.txt\"").empty());
  EXPECT_EQ(LinkTarget("anna@example.com"), "mailto:anna@example.com");
  EXPECT_EQ(LinkTarget("https://a.example"), "https://a.example");
  EXPECT_EQ(LinkTarget("C:\\x.txt"), "C:\\x.txt");
}

TEST(NoteGeometry, ContrastAndEffectiveColours) {
  EXPECT_EQ(ContrastColor(0x0099FFFF), 0x000000u);  // light yellow: black text
  EXPECT_EQ(ContrastColor(0x00800000), 0xFFFFFFu);  // dark blue: white text
  EXPECT_EQ(ContrastColor(0x00FFFFFF), 0x000000u);
  CNote n;
  n.ColorBack = 0x00102030;
  EffectiveColors c = EffectiveColorsOf(n, 0x00AABBCC);
  EXPECT_EQ(c.back, 0x00102030u);
  EXPECT_EQ(c.text, 0xFFFFFFu);
  EXPECT_EQ(c.border, c.back);  // an automatic border is invisible
  n.SetFlag(kFlagDeskColor, true);
  n.ColorBorder = 0x00000001;
  c = EffectiveColorsOf(n, 0x00AABBCC);
  EXPECT_EQ(c.back, 0x00AABBCCu);
  EXPECT_EQ(c.border, 1u);
}

TEST(NoteGeometry, HitZonesGiveEdgesAndTheMiddleMoves) {
  EXPECT_EQ(DragEdgesAt(50, 50, 100, 100), kMoveWhole);
  EXPECT_EQ(DragEdgesAt(2, 50, 100, 100), kEdgeLeft);
  EXPECT_EQ(DragEdgesAt(98, 50, 100, 100), kEdgeRight);
  EXPECT_EQ(DragEdgesAt(50, 1, 100, 100), kEdgeTop);
  EXPECT_EQ(DragEdgesAt(50, 99, 100, 100), kEdgeBottom);
  EXPECT_EQ(DragEdgesAt(1, 1, 100, 100), kEdgeLeft | kEdgeTop);
  EXPECT_EQ(DragEdgesAt(99, 99, 100, 100), kEdgeRight | kEdgeBottom);
  EXPECT_EQ(DragEdgesAt(99, 0, 100, 100), kEdgeRight | kEdgeTop);
  EXPECT_EQ(DragEdgesAt(5, 5, 100, 100), kMoveWhole);
}

TEST(NoteGeometry, DraggingNeverGoesBelowTenPixels) {
  const Rect4 r{100, 100, 200, 180};
  EXPECT_EQ(DragRect(r, kEdgeLeft, 500, 0), (Rect4{190, 100, 200, 180}));
  EXPECT_EQ(DragRect(r, kEdgeRight, -500, 0), (Rect4{100, 100, 110, 180}));
  EXPECT_EQ(DragRect(r, kEdgeTop, 0, 300), (Rect4{100, 170, 200, 180}));
  EXPECT_EQ(DragRect(r, kEdgeBottom, 0, -300), (Rect4{100, 100, 200, 110}));
  EXPECT_EQ(DragRect(r, kEdgeRight | kEdgeBottom, 30, 40), (Rect4{100, 100, 230, 220}));
  EXPECT_EQ(DragRect(r, kMoveWhole, -130, 7), (Rect4{-30, 107, 70, 187}));
}

TEST(NoteGeometry, AFreePlaceCoversNoTakenRectangle) {
  const Rect4 screen{0, 0, 1280, 800};
  EXPECT_EQ(FreePlace(screen, 300, 200, {}), (Rect4{0, 0, 300, 200}));
  // A note at the top left: the place is right of it on the first row.
  EXPECT_EQ(FreePlace(screen, 300, 200, {{0, 0, 500, 300}}), (Rect4{500, 0, 800, 200}));
  // A full-width band: the first row below it, on the grid.
  EXPECT_EQ(FreePlace(screen, 300, 200, {{0, 0, 1280, 310}}), (Rect4{0, 320, 300, 520}));
  EXPECT_EQ(FreePlace(screen, 300, 200, {{0, 0, 1280, 700}}), std::nullopt);
  EXPECT_EQ(FreePlace(screen, 1300, 200, {}), std::nullopt);
}

TEST(NoteGeometry, TransparencyCodes) {
  EXPECT_FALSE(DecodeTransparency(255).Layered());
  const auto half = DecodeTransparency(128);
  EXPECT_TRUE(half.alpha);
  EXPECT_EQ(half.opacity, 128);
  EXPECT_EQ(half.keyIndex, -1);
  const auto text = DecodeTransparency(1255);
  EXPECT_FALSE(text.alpha);
  EXPECT_EQ(text.keyIndex, 0);
  const auto border = DecodeTransparency(3200);
  EXPECT_EQ(border.keyIndex, 2);
  EXPECT_EQ(border.opacity, 200);
  EXPECT_EQ(DecodeTransparency(2128).keyIndex, 1);
  EXPECT_EQ(DecodeTransparency(9255).keyIndex, -1);
}

TEST(NewNotePosition, CascadesPastStackedNotesAndFallsBackNearTheEdge) {
  CNoteArray notes;
  for (int k = 0; k < 3; ++k) {
    CNote n;
    n.Rect = {200 + 20 * k, 200 + 20 * k, 100, 80};
    notes.Append(std::move(n));
  }
  const Rect4 work{0, 0, 1280, 800};
  EXPECT_EQ(GetNewNotePosition(notes, {}, work), (NotePoint{260, 260}));
  notes.GetNote(1)->HideMode = 1;  // a hidden note does not take its place
  EXPECT_EQ(GetNewNotePosition(notes, {}, work), (NotePoint{220, 220}));
  EXPECT_EQ(GetNewNotePosition(notes, {}, Rect4{0, 0, 300, 800}), (NotePoint{200, 200}));
  EXPECT_EQ(GetNewNotePosition(notes, {200, 200, 0, 0}, work), (NotePoint{200, 200}));
}

TEST(NoteText, PastingTooMuchAsksAndKeepsTheFirst2044) {
  const std::string big(3000, 'x');
  int asked = 0;
  EXPECT_FALSE(BuildPasteText("", big, [&] { return ++asked, false; }));
  EXPECT_EQ(asked, 1);
  const auto kept = BuildPasteText("", "\r\n" + big + "\r\n", [] { return true; });
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->size(), 2044u);
  const auto appended = BuildPasteText("old", "\r\nnew\r\n", nullptr);
  EXPECT_EQ(*appended, "old\r\nnew");
  const auto appendedBig = BuildPasteText(std::string(1000, 'o'), big, [] { return true; });
  EXPECT_EQ(appendedBig->size(), 1000u + 2 + 1044u);
  EXPECT_EQ(CapNoteText(std::string(2045, 'a') + "\r\n\r\n").size(), 2045u);
}

TEST(NoteText, CopiedTextsAreSeparatedByTheSeparatorLine) {
  EXPECT_EQ(JoinForCopy({"one", "two", "three"}, "-----"), "one\r\n-----\r\ntwo\r\n-----\r\nthree");
  EXPECT_EQ(JoinForCopy({"one", "two"}, ""), "one\r\n\r\ntwo");
  EXPECT_EQ(JoinForCopy({"alone"}, "--"), "alone");
}

TEST(NoteText, FormatBoxKeepsTheRatio) {
  // A text of 1200 pixels at one 15-pixel line, wrapping at the width.
  auto height = [](int w) { return ((1200 + w - 1) / w) * 15; };
  const int w = FormatBoxWidth(4, 3, height);
  EXPECT_EQ(w % 4, 0);
  EXPECT_LE(height(w), w / 4 * 3);
  EXPECT_GT(height(w - 4), (w - 4) / 4 * 3);
  EXPECT_EQ(FormatBoxWidth(0, 99, [](int) { return 0; }), 1);
}

TEST(DateFormat, CodesExpandAndTheCaretMarkerIsFound) {
  const CEnglishDateNames names;
  DateParts p;
  ASSERT_TRUE(DateTime::FromParts(2026, 3, 7, 9, 5, 4).ToParts(p));
  EXPECT_EQ(ExpandDateFormat("%d.%m.%Y %H:%M:%S", p, names), "07.03.2026 09:05:04");
  EXPECT_EQ(ExpandDateFormat("%#d/%#m %I %p %a %B %%", p, names), "7/3 09 AM Sat March %");
  EXPECT_EQ(ExpandDateFormat("%#x", p, names), "Saturday, March 7, 2026");
  EXPECT_EQ(ExpandDateFormat("%q stays", p, names), "%q stays");

  std::string text = ExpandDateFormat("Call %%p %H:%M", p, names);
  EXPECT_EQ(text, "Call %p 09:05");
  EXPECT_EQ(TakeCaretMarker(text), 5u);
  EXPECT_EQ(text, "Call  09:05");
}
