#include "notewnd/NoteGeometry.h"

#include <algorithm>

namespace quillet {

ColorRef ContrastColor(ColorRef c) {
  const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  const unsigned l = (2 * r) / 5 + b / 5 + g;
  return l > 204 ? 0x000000 : 0xFFFFFF;
}

EffectiveColors EffectiveColorsOf(const CNote& note, ColorRef desktopColor) {
  EffectiveColors c{};
  c.back = (note.DeskColor() ? desktopColor : note.ColorBack) & 0x00FFFFFF;
  c.text = note.ColorText == kColorAutomatic ? ContrastColor(c.back) : (note.ColorText & 0x00FFFFFF);
  c.border = note.ColorBorder == kColorAutomatic ? c.back : (note.ColorBorder & 0x00FFFFFF);
  return c;
}

int DragEdgesAt(int x, int y, int w, int h) {
  int edges = 0;
  if (x < kHitZone) edges |= kEdgeLeft;
  if (x > w - kHitZone) edges |= kEdgeRight;
  if (y < kHitZone) edges |= kEdgeTop;
  if (y > h - kHitZone) edges |= kEdgeBottom;
  // A note too small for separate zones takes the left and top ones.
  if ((edges & kEdgeLeft) && (edges & kEdgeRight)) edges &= ~kEdgeRight;
  if ((edges & kEdgeTop) && (edges & kEdgeBottom)) edges &= ~kEdgeBottom;
  return edges == 0 ? kMoveWhole : edges;
}

Rect4 DragRect(Rect4 r, int edges, int dx, int dy) {
  if (edges & kEdgeLeft) r.left = (edges & kEdgeRight) ? r.left + dx : std::min(r.left + dx, r.right - kMinDragSize);
  if (edges & kEdgeTop) r.top = (edges & kEdgeBottom) ? r.top + dy : std::min(r.top + dy, r.bottom - kMinDragSize);
  if (edges & kEdgeRight) r.right = (edges & kEdgeLeft) ? r.right + dx : std::max(r.right + dx, r.left + kMinDragSize);
  if (edges & kEdgeBottom) r.bottom = (edges & kEdgeTop) ? r.bottom + dy : std::max(r.bottom + dy, r.top + kMinDragSize);
  return r;
}

TransparencySpec DecodeTransparency(int value) {
  TransparencySpec t;
  if (value < 0) return t;
  if (value >= 1000) {
    const int k = value / 1000;
    if (k >= 1 && k <= 3) t.keyIndex = k - 1;
  }
  const int a = value % 1000;
  if (a < 255) {
    t.alpha = true;
    t.opacity = a;
  }
  return t;
}

std::array<std::array<int, 6>, 2> OverflowTriangles(int r, int b) {
  return {{{r - 5, b - 8, r - 2, b - 5, r - 5, b - 2}, {r - 9, b - 8, r - 6, b - 5, r - 9, b - 2}}};
}

std::optional<Rect4> FreePlace(Rect4 area, int w, int h, const std::vector<Rect4>& taken, int step) {
  step = std::max(step, 1);
  for (int y = area.top; y + h <= area.bottom; y += step)
    for (int x = area.left; x + w <= area.right;) {
      const Rect4 r{x, y, x + w, y + h};
      int skipTo = 0;
      for (const Rect4& t : taken)
        if (r.left < t.right && t.left < r.right && r.top < t.bottom && t.top < r.bottom) skipTo = std::max(skipTo, t.right);
      if (!skipTo) return r;
      // Jump past the rectangle in the way rather than step through it.
      x = std::max(x + step, skipTo);
    }
  return std::nullopt;
}

}  // namespace quillet
