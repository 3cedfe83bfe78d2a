#pragma once
#include "notes/NoteArray.h"
#include "notewnd/NoteGeometry.h"

namespace quillet {

struct NotePoint {
  int x = 0, y = 0;
  bool operator==(const NotePoint&) const = default;
};

struct CascadeSettings {
  int left = 200, top = 200;  // "NewLeft", "NewTop"
  int stepX = 20, stepY = 20; // "NewRight", "NewBottom"
};

// Where the next new note goes: the first free place of the cascade that
// starts at (left, top), back at the start when that lies within 100 pixels
// of the work area's right or bottom edge.
NotePoint GetNewNotePosition(const CNoteArray& notes, const CascadeSettings& s, const Rect4& workArea);

}  // namespace quillet
