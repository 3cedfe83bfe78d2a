#pragma once
// The notes together with the files they live in: every change to a note is
// written at once, and every failure is told to the user.
#include <functional>
#include <unordered_map>
#include <optional>
#include <string>
#include <vector>

#include "notes/DataFile.h"
#include "notes/NoteArray.h"
#include "notes/RecycleBin.h"
#include "app/Ids.h"

namespace quillet {

class CNoteStore {
 public:
  using Reporter = std::function<void(const std::string& message)>;
  // Asked before notes from outside keep alarms that start programs; true allows them.
  using ProgramGuard = std::function<bool(const std::string& source, const std::vector<std::string>& commands)>;

  explicit CNoteStore(FileSystem& fs = FileSystem::Real()) : m_fs(fs), m_file(fs) {}

  CNoteArray& Notes() { return m_notes; }
  const CNoteArray& Notes() const { return m_notes; }
  CNote* GetNote(int index) const { return m_notes.GetNote(index); }
  int Count() const { return m_notes.Count(); }

  const std::string& DataPath() const { return m_file.Path(); }
  // Takes a new data file path; the notes in memory are not touched.
  void SetDataPath(const std::string& path) { m_file.SetPath(path); }
  const std::string& RecycleBinPath() const { return m_binPath; }
  void SetRecycleBinPath(const std::string& path) { m_binPath = path; }
  bool DataFileIsReadOnly() const { return m_file.IsReadOnly(); }

  void SetReporter(Reporter r) { m_report = std::move(r); }
  void SetProgramGuard(ProgramGuard g) { m_programGuard = std::move(g); }
  // Notes from a shared file or another program's clipboard start no program
  // the user has not seen and allowed: without a yes their alarms only show
  // a message. Returns whether any alarm was turned into a message.
  bool GuardPrograms(const std::string& source, std::vector<CNote*> notes) const;
  void SetDesktopColor(std::function<ColorRef()> f) { m_desktopColor = std::move(f); }
  void SetV3Sound(V3SoundDefaults v3) { m_v3 = std::move(v3); }
  // Clock used for the recycle bin's deletion time.
  void SetClock(std::function<DateTime()> now) { m_now = std::move(now); }

  // Appends a note; null (and message Str::TooManyNotes) when the file cannot hold one more.
  CNote* CreateNote(CNote note);

  // Loads the data file, or with a path adds the notes of that file (import);
  // onlyMissing leaves out the notes that are here already (a backup restored).
  bool LoadNotes(const std::string& importPath = {}, bool onlyMissing = false);
  bool SaveNote(int index, bool updateHeader);
  bool SaveAllNotes();

  NoteRecordBytes NoteToRecord(int index) const;
  // Creates a note from a record at the end of the array, at the given
  // screen position when one is given. Returns its index, or -1.
  int RecordToNote(const NoteRecordBytes& record, std::optional<std::pair<int, int>> position = {});

  // Removes the notes; with toRecycleBin their texts go to the bin first.
  // Returns the number removed. The data file is not written here.
  int DeleteNotes(const std::vector<int>& indices, bool toRecycleBin);

  void Clear() { m_notes.Clear(); }

  // The first write of each day first keeps a copy of the data file in its
  // backup folder, named for this computer; its newest `keep` copies stay (0: none).
  void SetBackups(int keep, std::string computer) {
    m_keepBackups = keep;
    m_computer = std::move(computer);
  }

  // Another program (a sync tool) may replace the data file. No write goes
  // over a file that changed since it was read or written here; the handler
  // is told instead, and MergeOutside then brings both sides together.
  bool FileChangedOutside() const { return m_loaded && m_file.ChangedOutside(); }
  void SetOutsideChangeHandler(std::function<void()> h) { m_onOutsideChange = std::move(h); }
  struct MergeResult {
    enum class Status { Unchanged, Merged, NotReady } status = Status::Unchanged;
    // Notes changed here whose stored version the other program changed or
    // removed meanwhile: they are kept beside the other program's version.
    std::vector<std::string> changedOnBothSides;
  };
  // Loads the file as it now is and adds what changed here since the last
  // read or write: notes added or changed here are added unless the file has
  // them already, and notes removed here are removed from it. Writes the
  // result when it differs from the file. NotReady: the file cannot be read
  // now; nothing changed.
  MergeResult MergeOutside();
  // How many of these notes are not here (no note here is the same).
  int CountMissing(const std::vector<CNote>& notes) const;

  // Refuses every later write: the program is ending and the notes in memory
  // may already be gone. No path may then write a partial array over the file.
  void Close() { m_closed = true; }
  // Writes are taken only once the data file has been loaded whole, and
  // never after Close.
  bool Writable() const { return m_loaded && !m_closed; }

 private:
  void Report(const std::string& message) const;
  void ReportWriteError(const std::string& path, const IoError& err) const;
  void ReportPreserved(const WriteResult& w) const;
  ColorRef DesktopColor() const { return m_desktopColor ? m_desktopColor() : 0x00A56E3A; }
  uint64_t HashOf(const CNote& note) const;
  std::unordered_map<uint64_t, int> Hashes() const;  // of the notes here, with their counts
  // The notes as the data file holds them, one hash per record.
  void RememberFileAsAll();
  void WriteRefused();
  void BackupIfDue();

  FileSystem& m_fs;
  CDataFile m_file;
  CNoteArray m_notes;
  std::string m_binPath;
  Reporter m_report;
  ProgramGuard m_programGuard;
  std::function<ColorRef()> m_desktopColor;
  std::function<DateTime()> m_now;
  V3SoundDefaults m_v3;
  bool m_loaded = false;
  bool m_closed = false;
  std::vector<uint64_t> m_onDisk;  // HashOf each record as the file last held it here
  std::function<void()> m_onOutsideChange;
  int m_keepBackups = 0;
  std::string m_computer;
  int m_backupDay = -1;  // yyyymmdd of the last day a copy was kept
};

}  // namespace quillet
