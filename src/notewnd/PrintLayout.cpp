#include "notewnd/PrintLayout.h"

#include <algorithm>
#include <cstdint>

namespace quillet {

int ClampPrintZoom(int zoom) { return std::clamp(zoom, 25, 400); }

namespace {
// MulDiv: a * b / c, rounded half away from zero.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  const int64_t q = (p >= 0) == (c > 0) ? (2 * p + c) / (2 * static_cast<int64_t>(c)) : (2 * p - c) / (2 * static_cast<int64_t>(c));
  return static_cast<int>(q);
}
}  // namespace

int PrintFontHeight(int screenHeight, int screenDpi, int printerDpi, int zoom) {
  // Scaled as a magnitude: a character height stays one, a cell height too.
  const int sign = screenHeight < 0 ? -1 : 1;
  const int points = MulDiv(sign * screenHeight, 72, screenDpi);
  const int scaled = points * ClampPrintZoom(zoom) / 100;
  return sign * MulDiv(scaled, printerDpi, 72);
}

std::vector<PrintBox> ComposePrintPages(const std::vector<std::pair<int, int>>& sizes, int pageHeight, int margin,
                                        int unit) {
  std::vector<PrintBox> boxes;
  int page = 0, y = margin;
  const int bottom = pageHeight - margin;
  for (const auto& [cx, cy] : sizes) {
    const int w = cx + 4 * unit, h = cy + 4 * unit;
    // A note taller than a page still gets one of its own and runs off it.
    if (y + h + margin > bottom && y != margin) {
      ++page;
      y = margin;
    }
    boxes.push_back({page, margin, y, w, h});
    y += h + margin;
  }
  return boxes;
}

}  // namespace quillet
