#pragma once
// The recycle-bin file: an 8-byte header, then one entry per deleted note:
// 14 digits of the deletion time, the text, and a 0 byte.
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "notes/FileIO.h"

namespace quillet {

struct RecycleBinEntry {
  std::string time;  // the 14 digits
  std::string text;
  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  DateTime Deleted() const;
};

struct RecycleBinAppend {
  enum class Status { Ok, Invalid, IoError };
  Status status = Status::Ok;
  std::size_t written = 0;  // entries that are safely in the file
  IoError error;
};

struct RecycleBinRead {
  enum class Status { Ok, Missing, Invalid, IoError };
  Status status = Status::Ok;
  std::vector<RecycleBinEntry> entries;
  IoError error;
};

class CRecycleBin {
 public:
  // The bin's path when none is set: the data file's path up to its last
  // "." followed by ".rbi".
  static std::string DerivedPath(const std::string& dataFilePath);

  // Appends one entry per text, all stamped with the same 14-digit time. An
  // entry that cannot be written whole is taken out again.
  static RecycleBinAppend Append(FileSystem& fs, const std::string& path, const std::string& stamp14,
                                 const std::vector<std::string>& texts);

  static RecycleBinRead Read(FileSystem& fs, const std::string& path);
  // A whole bin file already in memory.
  static RecycleBinRead Parse(std::string_view data);

  // Rewrites the bin without the entries of the given numbers: a complete new
  // file beside it, put in its place in one step.
  enum class RemoveStatus { Ok, Invalid, IoError };
  static RemoveStatus RemoveEntries(FileSystem& fs, const std::string& path, const std::vector<int>& numbers,
                                    IoError* error = nullptr);

  // Entries parsed from the bytes after the header.
  static std::vector<RecycleBinEntry> ParseEntries(std::string_view body);
};

}  // namespace quillet
