#pragma once
// The notes data file: a 12-byte header and the note records back to back.
#include <functional>
#include <string>
#include <vector>

#include "notes/FileIO.h"
#include "notes/NoteRecord.h"

namespace quillet {

struct LoadResult {
  enum class Status { Ok, Created, Missing, Invalid, IoError };
  Status status = Status::Ok;
  uint16_t version = 0;
  std::vector<CNote> notes;  // also the notes read before a fault
  IoError error;             // for IoError
  bool unknownVersion = false;  // Invalid: a version this program never wrote, perhaps a newer one

  bool Failed() const { return status == Status::Invalid || status == Status::IoError; }
  // An older version is converted by writing the whole file again.
  bool NeedsRewrite() const { return status == Status::Ok && version != kCurrentVersion; }
};

struct WriteResult {
  IoError error;
  // Nothing was written: the file is no longer the one last read or written
  // here (another program replaced or changed it).
  bool changedOutside = false;
  // Path of the copy kept of a file whose load had failed, when this write made it.
  std::string preservedCopy;
  bool Ok() const { return !error && !changedOutside; }
};

class CDataFile {
 public:
  explicit CDataFile(FileSystem& fs = FileSystem::Real()) : m_fs(fs) {}

  // Reads any data file; touches nothing.
  static LoadResult Read(FileSystem& fs, const std::string& path, const V3SoundDefaults& v3);
  static LoadResult ReadFrom(InFile& in, const V3SoundDefaults& v3);

  const std::string& Path() const { return m_path; }
  void SetPath(const std::string& path);

  // Reads the file at Path(); a missing file is created empty. After a load
  // that failed, the original bytes are kept as a copy before the first write.
  LoadResult Load(const V3SoundDefaults& v3);

  // Writes one record in place and, with updateHeader, the count after it.
  // Sets needsFullSave, writing nothing, when the file lacks the records
  // before this one. A failed write that grew the file is cut back.
  WriteResult SaveRecord(int index, int count, const NoteRecordBytes& record, bool updateHeader,
                         bool& needsFullSave);

  // Writes a complete new file beside the old one and puts it in its place.
  WriteResult SaveAll(int count, const std::function<NoteRecordBytes(int)>& recordAt);

  bool IsReadOnly() const;

  // True when the file at Path() is no longer the one this program last read
  // or wrote: then no write touches it until the notes are merged.
  bool ChangedOutside() const;
  // The version of the file the notes in memory now stand on; taken before a
  // read, so that a change during the read is seen later.
  void SetStamp(std::optional<FileStamp> stamp) { m_stamp = stamp; }
  std::optional<FileStamp> CurrentStamp() const { return m_fs.Stamp(m_path); }
  // A failed read's bytes are kept as a copy before the next write.
  void PreserveBeforeNextWrite() { m_preserveBeforeWrite = true; }
  bool PreservePending() const { return m_preserveBeforeWrite; }

 private:
  WriteResult PreserveIfNeeded();

  FileSystem& m_fs;
  std::string m_path;
  bool m_preserveBeforeWrite = false;
  // A file of a version we do not know is never written: it may be newer.
  bool m_unknownVersion = false;
  std::optional<FileStamp> m_stamp;  // of the file as last read or written here
};

// Writes a complete data file of the given records; used for exports too.
IoError WriteDataFileAtomically(FileSystem& fs, const std::string& path, int count,
                                const std::function<NoteRecordBytes(int)>& recordAt);

}  // namespace quillet
