#pragma once
// The one-step undo: the records of the notes before a change.
#include <string>
#include <vector>

#include "notes/NoteRecord.h"

namespace quillet {

class CUndoBuffer {
 public:
  // A deletion keeps no indices: its notes are gone afterwards.
  void Store(std::vector<NoteRecordBytes> records, std::vector<int> indices, std::string label, bool deletion) {
    m_records = std::move(records);
    m_indices = deletion ? std::vector<int>{} : std::move(indices);
    m_label = std::move(label);
    m_deletion = deletion;
    m_present = true;
  }
  void Clear() {
    m_records.clear();
    m_indices.clear();
    m_label.clear();
    m_present = false;
  }
  bool Present() const { return m_present; }
  bool IsDeletion() const { return m_deletion; }
  const std::string& Label() const { return m_label; }
  const std::vector<NoteRecordBytes>& Records() const { return m_records; }
  const std::vector<int>& Indices() const { return m_indices; }

 private:
  std::vector<NoteRecordBytes> m_records;
  std::vector<int> m_indices;
  std::string m_label;
  bool m_deletion = false;
  bool m_present = false;
};

}  // namespace quillet
