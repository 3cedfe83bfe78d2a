#pragma once
// Where printed notes go: boxes one below another down the page, a new page
// when the next box would cross the bottom margin.
#include <vector>

namespace quillet {

int ClampPrintZoom(int zoom);  // 25..400
// The printer font height (negative: character height) of a screen font.
int PrintFontHeight(int screenHeight, int screenDpi, int printerDpi, int zoom);

struct PrintBox {
  int page, x, y, width, height;
};
// sizes are the unwrapped text sizes; unit is 0.2 mm and margin 15 mm, in printer pixels.
std::vector<PrintBox> ComposePrintPages(const std::vector<std::pair<int, int>>& textSizes, int pageHeight, int margin,
                                        int unit);

}  // namespace quillet
