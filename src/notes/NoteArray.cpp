#include "notes/NoteArray.h"

#include <algorithm>

namespace quillet {

CNote* CNoteArray::GetNote(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_notes[static_cast<std::size_t>(index)].get();
}

CNote* CNoteArray::Append(CNote note) {
  if (IsFull()) return nullptr;
  auto p = std::make_unique<CNote>(std::move(note));
  p->Index = Count();
  m_notes.push_back(std::move(p));
  CNote* added = m_notes.back().get();
  if (m_observer) m_observer->NoteAdded(*added);
  return added;
}

int CNoteArray::DeleteNotes(const std::vector<int>& indices, const RecycleFn& recycle) {
  for (int i : indices)
    if (CNote* n = GetNote(i)) n->Index = -1;

  if (recycle) {
    std::vector<CNote*> marked;
    for (const auto& n : m_notes)
      if (n->Index == -1) marked.push_back(n.get());
    const std::size_t taken = recycle({marked.begin(), marked.end()});
    // Notes the bin did not take stay where they are.
    for (std::size_t k = taken; k < marked.size(); ++k) marked[k]->Index = 0;
  }

  int removed = 0;
  for (auto it = m_notes.begin(); it != m_notes.end();) {
    if ((*it)->Index == -1) {
      if (m_observer) m_observer->NoteRemoving(**it);
      it = m_notes.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  for (int i = 0; i < Count(); ++i) {
    CNote& n = *m_notes[static_cast<std::size_t>(i)];
    const bool changed = n.Index != i;
    n.Index = i;
    if (changed && m_observer) m_observer->NoteIndexChanged(n);
  }
  return removed;
}

void CNoteArray::Clear() {
  for (auto& n : m_notes)
    if (m_observer) m_observer->NoteRemoving(*n);
  m_notes.clear();
}

}  // namespace quillet
