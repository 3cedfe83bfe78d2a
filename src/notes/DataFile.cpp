#include "notes/DataFile.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace quillet {

namespace {
IoError ReadOnlyError() { return IoError::FromErrno(EACCES); }

std::string PreservedName(const std::string& path) {
  char stamp[32];
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  std::strftime(stamp, sizeof stamp, ".%Y%m%d-%H%M%S", &tm);
  return path + stamp;
}
}  // namespace

LoadResult CDataFile::Read(FileSystem& fs, const std::string& path, const V3SoundDefaults& v3) {
  LoadResult r;
  if (!fs.Exists(path)) {
    r.status = LoadResult::Status::Missing;
    return r;
  }
  IoError err;
  if (fs.IsDirectory(path)) {
    r.status = LoadResult::Status::IoError;
    r.error = {EISDIR, "this is a folder, not a notes file"};
    return r;
  }
  auto in = fs.OpenRead(path, err);
  if (!in) {
    r.status = LoadResult::Status::IoError;
    r.error = err;
    return r;
  }
  return ReadFrom(*in, v3);
}

LoadResult CDataFile::ReadFrom(InFile& in, const V3SoundDefaults& v3) {
  LoadResult r;
  unsigned char header[kHeaderSize];
  const auto got = in.Read(header, kHeaderSize);
  if (got < 0) {
    r.status = LoadResult::Status::IoError;
    r.error = IoError::FromErrno(EIO);
    return r;
  }
  // The magic compares as a NUL-terminated string.
  if (got < static_cast<std::ptrdiff_t>(kHeaderSize) || std::memcmp(header, "Quillet", 8) != 0) {
    r.status = LoadResult::Status::Invalid;
    return r;
  }
  r.version = static_cast<uint16_t>(header[8] | (header[9] << 8));
  const auto count = static_cast<int16_t>(header[10] | (header[11] << 8));
  // A count past kMaxNotes cannot have been written by us; loading nothing and
  // then saving would wipe the file, so it is refused as corrupt.
  if (count < 0) {
    r.status = LoadResult::Status::Invalid;
    return r;
  }
  const std::size_t size = RecordSizeOf(r.version);
  if (size == 0) {
    r.status = LoadResult::Status::Invalid;
    r.unknownVersion = true;
    return r;
  }
  if (count == 0) return r;
  std::vector<unsigned char> buf(size);
  r.notes.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto n = in.Read(buf.data(), size);
    if (n < 0) {
      r.status = LoadResult::Status::IoError;
      r.error = IoError::FromErrno(EIO);
      return r;
    }
    if (static_cast<std::size_t>(n) < size) {
      r.status = LoadResult::Status::Invalid;
      return r;
    }
    r.notes.push_back(RecordToNote(buf.data(), r.version, v3));
  }
  return r;
}

void CDataFile::SetPath(const std::string& path) {
  m_stamp.reset();
  m_path = path;
  m_preserveBeforeWrite = false;
  m_unknownVersion = false;
}

LoadResult CDataFile::Load(const V3SoundDefaults& v3) {
  m_stamp = CurrentStamp();
  LoadResult r = Read(m_fs, m_path, v3);
  if (r.status == LoadResult::Status::Missing) {
    // A new file in a folder that is not there yet: the folder is made.
    const auto slash = m_path.find_last_of('/');
    IoError made = slash == std::string::npos || slash == 0 ? IoError{} : m_fs.CreateFolders(m_path.substr(0, slash));
    const WriteResult w = made ? WriteResult{made, {}} : SaveAll(0, nullptr);
    if (w.Ok()) {
      r.status = LoadResult::Status::Created;
      r.version = kCurrentVersion;
    } else {
      r.status = LoadResult::Status::IoError;
      r.error = w.error;
    }
  } else if (r.unknownVersion) {
    m_unknownVersion = true;
  } else if (r.Failed()) {
    // The unread rest of the file would be lost by the next save.
    m_preserveBeforeWrite = true;
  }
  return r;
}

bool CDataFile::ChangedOutside() const { return m_stamp && CurrentStamp() != m_stamp; }

bool CDataFile::IsReadOnly() const {
  return m_unknownVersion || (m_fs.Exists(m_path) && (m_fs.IsDirectory(m_path) || !m_fs.IsWritable(m_path)));
}

WriteResult CDataFile::PreserveIfNeeded() {
  WriteResult w;
  if (!m_preserveBeforeWrite || !m_fs.Exists(m_path)) {
    m_preserveBeforeWrite = false;
    return w;
  }
  const std::string copy = PreservedName(m_path);
  w.error = m_fs.Copy(m_path, copy);
  if (!w.error) {
    w.preservedCopy = copy;
    m_preserveBeforeWrite = false;
  }
  return w;
}

WriteResult CDataFile::SaveRecord(int index, int count, const NoteRecordBytes& record, bool updateHeader,
                                  bool& needsFullSave) {
  needsFullSave = false;
  if (m_unknownVersion) return {ReadOnlyError(), {}};
  const int64_t offset = static_cast<int64_t>(kHeaderSize) + static_cast<int64_t>(index) * kRecordSize;
  const int64_t size = m_fs.FileSize(m_path);
  if (size < offset) {
    needsFullSave = true;
    return {};
  }
  if (IsReadOnly()) return {ReadOnlyError(), {}};
  if (ChangedOutside()) return {{}, true};
  WriteResult w = PreserveIfNeeded();
  if (w.error) return w;
  IoError err;
  auto out = m_fs.OpenWrite(m_path, FileSystem::WriteMode::InPlace, err);
  if (!out) {
    w.error = err;
    return w;
  }
  // The record goes first: a count written before its record would leave a
  // file that claims more records than it holds.
  bool ok = out->Seek(offset) && out->Write(record.data(), record.size()) && out->Sync();
  if (ok && updateHeader) {
    const auto header = MakeHeader(static_cast<uint16_t>(count));
    ok = out->Seek(0) && out->Write(header.data(), header.size()) && out->Sync();
  }
  if (!ok) w.error = out->LastError();
  if (!out->Close() && ok) {
    ok = false;
    w.error = out->LastError();
  }
  // A record that did not fit (a full disk) must not leave a piece of itself behind.
  if (!ok && m_fs.FileSize(m_path) > size) m_fs.Truncate(m_path, size);
  if (ok) m_stamp = CurrentStamp();
  return w;
}

IoError WriteDataFileAtomically(FileSystem& fs, const std::string& path, int count,
                                const std::function<NoteRecordBytes(int)>& recordAt) {
  if (fs.Exists(path) && !fs.IsWritable(path)) return ReadOnlyError();
  return WriteFileAtomically(fs, path, [&](OutFile& out) {
    const auto header = MakeHeader(static_cast<uint16_t>(count));
    bool ok = out.Write(header.data(), header.size());
    for (int i = 0; ok && i < count; ++i) {
      const NoteRecordBytes rec = recordAt(i);
      ok = out.Write(rec.data(), rec.size());
    }
    return ok;
  });
}

WriteResult CDataFile::SaveAll(int count, const std::function<NoteRecordBytes(int)>& recordAt) {
  if (m_unknownVersion) return {ReadOnlyError(), {}};
  if (ChangedOutside()) return {{}, true};
  WriteResult w = PreserveIfNeeded();
  if (w.error) return w;
  w.error = WriteDataFileAtomically(m_fs, m_path, count, recordAt);
  if (!w.error) m_stamp = CurrentStamp();
  return w;
}

}  // namespace quillet
