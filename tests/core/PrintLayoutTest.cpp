#include <gtest/gtest.h>

#include "notewnd/PrintLayout.h"

using namespace quillet;

TEST(PrintLayout, ZoomIsHeldAndFontsScale) {
  EXPECT_EQ(ClampPrintZoom(500), 400);
  EXPECT_EQ(ClampPrintZoom(10), 25);
  EXPECT_EQ(ClampPrintZoom(100), 100);
  // 10-point Arial (-13 at 96 dpi) on a 600-dpi printer at 100 %: 10 points of 600 dpi.
  EXPECT_EQ(PrintFontHeight(-13, 96, 600, 100), -83);
  EXPECT_EQ(PrintFontHeight(-13, 96, 600, 200), -167);
  EXPECT_EQ(PrintFontHeight(-13, 96, 600, 1000), PrintFontHeight(-13, 96, 600, 400));
}

TEST(PrintLayout, BoxesGoDownThePageAndOnToTheNext) {
  // A page of 1000 pixels, 100 margin, unit 2: a box is text + 8.
  const auto boxes = ComposePrintPages({{200, 300}, {100, 300}, {50, 50}, {10, 2000}}, 1000, 100, 2);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].page, 0);
  EXPECT_EQ(boxes[0].y, 100);
  EXPECT_EQ(boxes[0].width, 208);
  EXPECT_EQ(boxes[0].height, 308);
  EXPECT_EQ(boxes[1].page, 1);  // 508 + 308 + 100 would pass the usable bottom of 900
  EXPECT_EQ(boxes[1].y, 100);
  EXPECT_EQ(boxes[2].page, 1);
  EXPECT_EQ(boxes[2].y, 100 + 308 + 100);
  EXPECT_EQ(boxes[3].page, 2);  // too tall for any page: a page of its own, no blank one before
  EXPECT_EQ(boxes[3].x, 100);
}
