#include "notes/NoteStore.h"

#include "app/UIStrings.h"

namespace quillet {

void CNoteStore::Report(const std::string& message) const {
  if (m_report) m_report(message);
}

void CNoteStore::ReportWriteError(const std::string& path, const IoError& err) const {
  Report(FormatUIString(LoadUIString(IDS_CANNOT_WRITE_FILE), {path, err.message}));
}

void CNoteStore::ReportPreserved(const WriteResult& w) const {
  if (!w.preservedCopy.empty()) Report(FormatUIString(LoadUIString(IDS_ORIGINAL_KEPT), {w.preservedCopy}));
}

CNote* CNoteStore::CreateNote(CNote note) {
  CNote* added = m_notes.Append(std::move(note));
  if (!added) Report(LoadUIString(IDS_TOO_MANY_NOTES));
  return added;
}

bool CNoteStore::LoadNotes(const std::string& importPath) {
  const bool importing = !importPath.empty();
  if (importing && !Writable()) return false;
  if (!importing) m_loaded = false;
  const std::string path = importing ? importPath : m_file.Path();
  LoadResult r = importing ? CDataFile::Read(m_fs, path, m_v3) : m_file.Load(m_v3);
  if (importing) {
    std::vector<CNote*> incoming;
    for (CNote& n : r.notes) incoming.push_back(&n);
    GuardPrograms(path, incoming);
  }
  if (r.status == LoadResult::Status::Missing) {
    m_loaded = true;
    return true;
  }
  bool ok = !r.Failed();
  for (CNote& n : r.notes) {
    if (!CreateNote(std::move(n))) {
      ok = false;
      break;
    }
  }
  // A file that failed to load is copied aside before its first write, so
  // what did load may be written from here on.
  m_loaded = true;
  if (r.status == LoadResult::Status::Invalid) {
    // The notes an import added before the fault are kept, and kept on disk.
    if (importing && !r.notes.empty()) SaveAllNotes();
    Report(LoadUIString(30003) + path);
    return false;
  }
  if (r.status == LoadResult::Status::IoError) {
    Report(FormatUIString(LoadUIString(IDS_CANNOT_READ_FILE), {path, r.error.message}));
    return false;
  }
  if (importing || r.NeedsRewrite()) ok = SaveAllNotes() && ok;
  return ok;
}

bool CNoteStore::GuardPrograms(const std::string& source, std::vector<CNote*> notes) const {
  std::vector<std::string> commands;
  for (const CNote* n : notes)
    if (n->AlarmAction == kAlarmRunsProgram && !n->AlarmExec().empty()) commands.push_back(n->AlarmExec());
  if (commands.empty() || (m_programGuard && m_programGuard(source, commands))) return false;
  for (CNote* n : notes)
    if (n->AlarmAction == kAlarmRunsProgram) n->AlarmAction = 0;
  return true;
}

NoteRecordBytes CNoteStore::NoteToRecord(int index) const {
  const CNote* n = m_notes.GetNote(index);
  return n ? quillet::NoteToRecord(*n, DesktopColor()) : NoteRecordBytes{};
}

int CNoteStore::RecordToNote(const NoteRecordBytes& record, std::optional<std::pair<int, int>> position) {
  CNote n = quillet::RecordToNote(record.data(), kCurrentVersion);
  if (position) {
    n.Rect.left = position->first;
    n.Rect.top = position->second;
  }
  CNote* added = CreateNote(std::move(n));
  return added ? added->Index : -1;
}

bool CNoteStore::SaveNote(int index, bool updateHeader) {
  if (!Writable() || !m_notes.GetNote(index)) return false;
  bool needsFullSave = false;
  const WriteResult w = m_file.SaveRecord(index, Count(), NoteToRecord(index), updateHeader, needsFullSave);
  // A file that lost its earlier records (or vanished) is written whole.
  if (needsFullSave) return SaveAllNotes();
  ReportPreserved(w);
  if (!w.Ok()) {
    ReportWriteError(m_file.Path(), w.error);
    return false;
  }
  return true;
}

bool CNoteStore::SaveAllNotes() {
  if (!Writable()) return false;
  const WriteResult w = m_file.SaveAll(Count(), [this](int i) { return NoteToRecord(i); });
  ReportPreserved(w);
  if (!w.Ok()) {
    ReportWriteError(m_file.Path(), w.error);
    return false;
  }
  return true;
}

int CNoteStore::DeleteNotes(const std::vector<int>& indices, bool toRecycleBin) {
  if (m_closed) return 0;
  if (!toRecycleBin) return m_notes.DeleteNotes(indices);
  char stamp[15] = "00000000000000";
  DateTime::Format14(m_now ? m_now() : DateTime::Now(), stamp);
  return m_notes.DeleteNotes(indices, [&](const std::vector<const CNote*>& marked) -> std::size_t {
    std::vector<std::string> texts;
    texts.reserve(marked.size());
    for (const CNote* n : marked) texts.push_back(n->Text());
    const RecycleBinAppend r = CRecycleBin::Append(m_fs, m_binPath, stamp, texts);
    if (r.status == RecycleBinAppend::Status::Invalid)
      Report(LoadUIString(30003) + m_binPath);
    else if (r.status == RecycleBinAppend::Status::IoError)
      ReportWriteError(m_binPath, r.error);
    return r.written;
  });
}

}  // namespace quillet
