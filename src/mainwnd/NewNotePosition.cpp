#include "mainwnd/NewNotePosition.h"

namespace quillet {

NotePoint GetNewNotePosition(const CNoteArray& notes, const CascadeSettings& s, const Rect4& workArea) {
  NotePoint p{s.left, s.top};
  // Each step moves past one note at most, so count + 1 scans always end,
  // also with a step of zero.
  for (int scans = 0; scans <= notes.Count(); ++scans) {
    bool taken = false;
    for (const auto& n : notes) {
      if (n->HideMode == 0 && n->Rect.left == p.x && n->Rect.top == p.y) {
        taken = true;
        break;
      }
    }
    if (!taken) break;
    p.x += s.stepX;
    p.y += s.stepY;
  }
  if (p.x > workArea.right - 100 || p.y > workArea.bottom - 100) return {s.left, s.top};
  return p;
}

}  // namespace quillet
