#pragma once
// The ordered collection of all notes. A note is known by its position.
#include <functional>
#include <memory>
#include <vector>

#include "notes/Note.h"
#include "notes/NoteRecord.h"

namespace quillet {

class INoteArrayObserver {
 public:
  virtual ~INoteArrayObserver() = default;
  virtual void NoteAdded(CNote& note) = 0;
  virtual void NoteRemoving(CNote& note) = 0;
  virtual void NoteIndexChanged(CNote& note) = 0;
};

class CNoteArray {
 public:
  int Count() const { return static_cast<int>(m_notes.size()); }
  bool IsFull() const { return Count() >= kMaxNotes; }

  // Null for an index below 0 or at or beyond the count.
  CNote* GetNote(int index) const;

  // Appends the note and returns it; null when the file could not hold one more.
  CNote* Append(CNote note);

  // Removes the notes at the given indices. With a recycle function, each
  // marked note is handed to it first, in array order, and only the notes it
  // accepted are removed (it returns how many of the batch it took).
  // Returns the number of notes removed.
  using RecycleFn = std::function<std::size_t(const std::vector<const CNote*>&)>;
  int DeleteNotes(const std::vector<int>& indices, const RecycleFn& recycle = nullptr);

  void Clear();

  void SetObserver(INoteArrayObserver* observer) { m_observer = observer; }

  auto begin() const { return m_notes.begin(); }
  auto end() const { return m_notes.end(); }

 private:
  std::vector<std::unique_ptr<CNote>> m_notes;
  INoteArrayObserver* m_observer = nullptr;
};

}  // namespace quillet
