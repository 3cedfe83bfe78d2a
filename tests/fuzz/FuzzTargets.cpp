#include "fuzz/FuzzTargets.h"

#include <cstdlib>
#include <string>

#include "app/UIStrings.h"
#include "common/Text.h"
#include "notes/DataFile.h"
#include "net/TransferProtocol.h"
#include "notes/RecycleBin.h"

namespace quillet::fuzz {

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

int FuzzDataFile(const uint8_t* data, size_t size) {
  MemoryInFile in(data, size);
  const LoadResult r = CDataFile::ReadFrom(in, V3SoundDefaults{2, "/x.wav"});
  Check(r.status == LoadResult::Status::Ok || r.status == LoadResult::Status::Invalid);
  Check(r.notes.size() <= static_cast<std::size_t>(kMaxNotes));
  for (const CNote& n : r.notes) {
    // Held in memory as UTF-8, each field's text still fits its field on disk.
    Check(FieldBytesOf(n.Text(), kTextField).size() < kTextField && IsValidUtf8(n.Text()));
    Check(FieldBytesOf(n.Folder(), kNameField).size() < kNameField && IsValidUtf8(n.Folder()));
    Check(FieldBytesOf(n.AlarmExec(), kPathField).size() < kPathField &&
          FieldBytesOf(n.AlarmWave(), kPathField).size() < kPathField);
    // Once read, a note writes the same record every time.
    const NoteRecordBytes once = NoteToRecord(n, 0);
    const CNote again = RecordToNote(once.data(), kCurrentVersion);
    Check(NoteToRecord(again, 0) == once);
  }
  return 0;
}

int FuzzRecycleBin(const uint8_t* data, size_t size) {
  const RecycleBinRead r = CRecycleBin::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const RecycleBinEntry& e : r.entries) {
    Check(e.time.size() <= 14 && IsValidUtf8(e.text));
    (void)e.Deleted();
  }
  return 0;
}

int FuzzTranslation(const uint8_t* data, size_t size) {
  CUIStrings strings(Language::English);
  strings.LoadTranslationText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int id : {30000, 30003, 32005, 32201, 31310}) {
    const std::string text = strings.Load(id, true);
    Check(IsValidUtf8(text) && text.size() <= 511 + 100);
    (void)FormatUIString(text, {"a", "b"});
  }
  return 0;
}

int FuzzTransfer(const uint8_t* data, size_t size) {
  const auto note = DecodeMessage(std::string_view(reinterpret_cast<const char*>(data), size));
  if (note) {
    Check(!note->from.empty() && note->from.size() <= 63 && IsValidUtf8(note->from));
    Check(!note->text.empty() && IsValidUtf8(note->text));
    Check(note->text.find('\0') == std::string::npos);
  }
  return 0;
}

}  // namespace quillet::fuzz
