#include "notes/NoteStore.h"

#include "app/UIStrings.h"
#include "notes/Backups.h"
#include "app/Ids.h"

#include <algorithm>
#include <unordered_map>

namespace quillet {

void CNoteStore::Report(const std::string& message) const {
  if (m_report) m_report(message);
}

void CNoteStore::ReportWriteError(const std::string& path, const IoError& err) const {
  Report(FormatUIString(LoadUIString(Str::CannotWriteFile), {path, err.message}));
}

void CNoteStore::ReportPreserved(const WriteResult& w) const {
  if (!w.preservedCopy.empty()) Report(FormatUIString(LoadUIString(Str::OriginalKept), {w.preservedCopy}));
}

CNote* CNoteStore::CreateNote(CNote note) {
  CNote* added = m_notes.Append(std::move(note));
  if (!added) Report(LoadUIString(Str::TooManyNotes));
  return added;
}

bool CNoteStore::LoadNotes(const std::string& importPath, bool onlyMissing) {
  const bool importing = !importPath.empty();
  if (importing && !Writable()) return false;
  if (!importing) m_loaded = false;
  const std::string path = importing ? importPath : m_file.Path();
  LoadResult r = importing ? CDataFile::Read(m_fs, path, m_v3) : m_file.Load(m_v3);
  if (importing && onlyMissing) {
    auto here = Hashes();
    std::erase_if(r.notes, [&](const CNote& n) { return here[HashOf(n)]-- > 0; });
  }
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
    Report(LoadUIString(Str::InvalidOrCorruptFile) + path);
    return false;
  }
  if (r.status == LoadResult::Status::IoError) {
    Report(FormatUIString(LoadUIString(Str::CannotReadFile), {path, r.error.message}));
    return false;
  }
  if (!importing) RememberFileAsAll();
  if (importing || r.NeedsRewrite()) ok = SaveAllNotes() && ok;
  return ok;
}

uint64_t CNoteStore::HashOf(const CNote& note) const {
  // FNV-1a over the record: equal records, equal notes.
  const NoteRecordBytes r = quillet::NoteToRecord(note, DesktopColor());
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : r) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::unordered_map<uint64_t, int> CNoteStore::Hashes() const {
  std::unordered_map<uint64_t, int> here;
  for (int i = 0; i < Count(); ++i) ++here[HashOf(*m_notes.GetNote(i))];
  return here;
}

int CNoteStore::CountMissing(const std::vector<CNote>& notes) const {
  auto here = Hashes();
  return static_cast<int>(std::count_if(notes.begin(), notes.end(), [&](const CNote& n) { return here[HashOf(n)]-- <= 0; }));
}

void CNoteStore::RememberFileAsAll() {
  m_onDisk.clear();
  m_onDisk.reserve(static_cast<std::size_t>(Count()));
  for (int i = 0; i < Count(); ++i) m_onDisk.push_back(HashOf(*m_notes.GetNote(i)));
}

void CNoteStore::BackupIfDue() {
  if (m_keepBackups <= 0) return;
  const DateTime now = m_now ? m_now() : DateTime::Now();
  DateParts d;
  if (!now.ToParts(d)) return;
  const int day = d.year * 10000 + d.month * 100 + d.day;
  if (day == m_backupDay) return;
  m_backupDay = day;
  IoError err;
  KeepDailyBackup(m_fs, m_file.Path(), now, m_keepBackups, m_computer, &err);
  if (err) ReportWriteError(BackupFolderOf(m_file.Path()), err);
}

void CNoteStore::WriteRefused() {
  // Whoever shows the notes decides when they may change under it.
  if (m_onOutsideChange)
    m_onOutsideChange();
  else
    MergeOutside();
}

CNoteStore::MergeResult CNoteStore::MergeOutside() {
  MergeResult result;
  if (!m_loaded || m_closed) return result;
  const std::optional<FileStamp> stamp = m_file.CurrentStamp();
  LoadResult r = CDataFile::Read(m_fs, m_file.Path(), m_v3);
  if (r.status == LoadResult::Status::IoError) {
    result.status = MergeResult::Status::NotReady;
    return result;
  }
  // Each record is encoded and hashed once: the notes here and the file's.
  std::vector<uint64_t> localHashes;
  localHashes.reserve(static_cast<std::size_t>(Count()));
  for (int i = 0; i < Count(); ++i) localHashes.push_back(HashOf(*m_notes.GetNote(i)));
  std::unordered_map<uint64_t, int> inLocal;
  for (uint64_t h : localHashes) ++inLocal[h];

  std::vector<CNote> outside = std::move(r.notes);
  if (r.status == LoadResult::Status::Missing || r.status == LoadResult::Status::Invalid) {
    // A removed or unreadable file removed no note: the notes here stay, with
    // whatever other notes could be read, and the file's bytes are kept as a copy.
    std::vector<CNote> readable = std::move(outside);
    std::unordered_map<uint64_t, int> here = inLocal;
    outside.clear();
    for (int i = 0; i < Count(); ++i) outside.push_back(*m_notes.GetNote(i));
    for (CNote& n : readable)
      if (here[HashOf(n)]-- <= 0) outside.push_back(std::move(n));
    m_onDisk.clear();
    if (r.status == LoadResult::Status::Invalid) m_file.PreserveBeforeNextWrite();
  }
  std::unordered_map<uint64_t, int> removedHere, inOutside, wasOnDisk;
  for (uint64_t h : m_onDisk) ++wasOnDisk[h];
  for (const auto& [h, n] : wasOnDisk) {
    const auto local = inLocal.find(h);
    const int gone = n - (local == inLocal.end() ? 0 : local->second);
    if (gone > 0) removedHere[h] = gone;
  }
  std::vector<CNote> merged;
  std::vector<uint64_t> mergedHashes;
  merged.reserve(outside.size() + localHashes.size());
  mergedHashes.reserve(merged.capacity());
  bool differs = r.status != LoadResult::Status::Ok || r.NeedsRewrite();
  for (CNote& o : outside) {
    const uint64_t h = HashOf(o);
    ++inOutside[h];
    if (auto gone = removedHere.find(h); gone != removedHere.end() && gone->second > 0) {
      --gone->second;
      differs = true;
      continue;
    }
    merged.push_back(std::move(o));
    mergedHashes.push_back(h);
  }
  std::unordered_map<uint64_t, int> stillOnDisk = wasOnDisk;
  for (int i = 0; i < Count(); ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    const uint64_t h = localHashes[at];
    if (auto known = stillOnDisk.find(h); known != stillOnDisk.end() && known->second > 0) {
      --known->second;  // unchanged here
      continue;
    }
    if (auto there = inOutside.find(h); there != inOutside.end() && there->second > 0) {
      --there->second;  // the file has it already
      continue;
    }
    // Changed here; its stored version changed or went there too?
    const CNote& n = *m_notes.GetNote(i);
    if (at < m_onDisk.size() && !inOutside.count(m_onDisk[at]) && !inLocal.count(m_onDisk[at]))
      result.changedOnBothSides.push_back(n.Text());
    merged.push_back(n);
    mergedHashes.push_back(h);
    differs = true;
  }
  const bool sameNotes = mergedHashes == localHashes;
  m_file.SetStamp(stamp);
  if (!sameNotes) {
    // The windows follow the array: they go and come with its notes.
    m_notes.Clear();
    for (CNote& n : merged)
      if (!CreateNote(std::move(n))) break;
    result.status = MergeResult::Status::Merged;
  }
  if (differs)
    SaveAllNotes();
  else
    m_onDisk = std::move(mergedHashes);
  return result;
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
  BackupIfDue();
  bool needsFullSave = false;
  const NoteRecordBytes record = NoteToRecord(index);
  const WriteResult w = m_file.SaveRecord(index, Count(), record, updateHeader, needsFullSave);
  if (w.changedOutside) {
    WriteRefused();
    return true;  // the change is kept in memory and merged into the file
  }
  // A file that lost its earlier records (or vanished) is written whole.
  if (needsFullSave) return SaveAllNotes();
  ReportPreserved(w);
  if (w.Ok()) {
    const std::size_t at = static_cast<std::size_t>(index);
    if (m_onDisk.size() <= at) m_onDisk.resize(at + 1, 0);
    m_onDisk[at] = HashOf(*m_notes.GetNote(index));
    if (updateHeader) m_onDisk.resize(static_cast<std::size_t>(Count()), 0);
  }
  if (!w.Ok()) {
    ReportWriteError(m_file.Path(), w.error);
    return false;
  }
  return true;
}

bool CNoteStore::SaveAllNotes() {
  if (!Writable()) return false;
  BackupIfDue();
  const WriteResult w = m_file.SaveAll(Count(), [this](int i) { return NoteToRecord(i); });
  if (w.changedOutside) {
    WriteRefused();
    return true;  // the notes are kept in memory and merged into the file
  }
  ReportPreserved(w);
  if (w.Ok()) RememberFileAsAll();
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
      Report(LoadUIString(Str::InvalidOrCorruptFile) + m_binPath);
    else if (r.status == RecycleBinAppend::Status::IoError)
      ReportWriteError(m_binPath, r.error);
    return r.written;
  });
}

}  // namespace quillet
