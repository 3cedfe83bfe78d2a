#pragma once
// The arithmetic of a note window: colours, hit zones, drags, transparency.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "notes/Note.h"

namespace quillet {

// Room the note's frame takes on each side, as the measuring and painting rules count it.
inline constexpr int kEdgeX = 2;
inline constexpr int kEdgeY = 2;
// Extra width a minimised note keeps for the overflow indicator.
inline constexpr int kIndicatorRoom = 11;
inline constexpr int kMinDragSize = 10;
inline constexpr int kHitZone = 5;

// Black on light colours, white on dark ones.
ColorRef ContrastColor(ColorRef c);

struct EffectiveColors {
  ColorRef text, back, border;
};
EffectiveColors EffectiveColorsOf(const CNote& note, ColorRef desktopColor);

enum DragEdge : int { kEdgeLeft = 1, kEdgeTop = 2, kEdgeRight = 4, kEdgeBottom = 8, kMoveWhole = 15 };

// The edges a press at (x, y) in a w × h client area drags.
int DragEdgesAt(int x, int y, int w, int h);

struct Rect4 {
  int left, top, right, bottom;
  bool operator==(const Rect4&) const = default;
};

// A place for a w × h window inside the area that covers none of the taken
// rectangles, searched row by row from the area's top left on a grid of the
// given step; nothing when there is no such place.
std::optional<Rect4> FreePlace(Rect4 area, int w, int h, const std::vector<Rect4>& taken, int step = 20);

// One drag step: the edges of the mask follow (dx, dy), never closer than 10 pixels.
Rect4 DragRect(Rect4 r, int edges, int dx, int dy);

struct TransparencySpec {
  bool alpha = false;
  int opacity = 255;   // 0..254 when alpha
  int keyIndex = -1;   // 0 text, 1 background, 2 border; -1 none
  bool Layered() const { return alpha || keyIndex >= 0; }
};
TransparencySpec DecodeTransparency(int value);

// The two filled triangles of the overflow indicator, with (r, b) the
// bottom-right corner of the text area.
std::array<std::array<int, 6>, 2> OverflowTriangles(int r, int b);

}  // namespace quillet
