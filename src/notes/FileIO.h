#pragma once
// The few file operations the note files need, behind an interface so that
// tests can make any of them fail.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quillet {

struct IoError {
  int code = 0;          // errno-style code, 0 when all went well
  std::string message;   // what the system said
  explicit operator bool() const { return code != 0; }
  static IoError FromErrno(int err);
};

// What tells one version of a file from the next: which file the path names
// (a file renamed over it is another), its size and its modification time.
struct FileStamp {
  uint64_t device = 0, inode = 0;
  int64_t size = 0, modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

class InFile {
 public:
  virtual ~InFile() = default;
  // Reads up to n bytes; returns how many were read, or -1 on error.
  virtual std::ptrdiff_t Read(void* buf, std::size_t n) = 0;
  virtual int64_t Size() = 0;
  virtual bool Seek(int64_t offset) = 0;
};

// Bytes already in memory, read as a file.
class MemoryInFile final : public InFile {
 public:
  MemoryInFile(const void* data, std::size_t size) : m_data(static_cast<const unsigned char*>(data)), m_size(size) {}
  std::ptrdiff_t Read(void* buf, std::size_t n) override;
  int64_t Size() override { return static_cast<int64_t>(m_size); }
  bool Seek(int64_t offset) override {
    if (offset < 0 || static_cast<std::size_t>(offset) > m_size) return false;
    m_pos = static_cast<std::size_t>(offset);
    return true;
  }

 private:
  const unsigned char* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

class OutFile {
 public:
  virtual ~OutFile() = default;
  virtual bool Seek(int64_t offset) = 0;
  virtual bool Write(const void* data, std::size_t n) = 0;
  // Flushes the file's data to the disk.
  virtual bool Sync() = 0;
  virtual bool Close() = 0;
  virtual IoError LastError() const = 0;
};

class FileSystem {
 public:
  // InPlace: existing file, no truncation; CreateNew: fails where the name is taken.
  enum class WriteMode { InPlace, Create, CreateNew };

  virtual ~FileSystem() = default;
  virtual std::unique_ptr<InFile> OpenRead(const std::string& path, IoError& err) = 0;
  virtual std::unique_ptr<OutFile> OpenWrite(const std::string& path, WriteMode mode, IoError& err) = 0;
  // Replaces `to` by `from` in one step.
  virtual IoError Replace(const std::string& from, const std::string& to) = 0;
  virtual IoError Copy(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // -1 when the file does not exist or cannot be examined.
  virtual int64_t FileSize(const std::string& path) = 0;
  virtual bool IsWritable(const std::string& path) = 0;
  // Cuts the file back to the given size.
  virtual IoError Truncate(const std::string& path, int64_t size) = 0;

  virtual bool IsDirectory(const std::string& path) { (void)path; return false; }
  // Creates the folder and the folders above it that are missing.
  virtual IoError CreateFolders(const std::string& path) { (void)path; return {}; }
  // The file a path names, through any symbolic links; the path itself otherwise.
  virtual std::string ResolveLinks(const std::string& path) { return path; }
  // Nothing when the file does not exist or cannot be examined.
  virtual std::optional<FileStamp> Stamp(const std::string& path) { (void)path; return std::nullopt; }

  static FileSystem& Real();
};

// Writes a whole file through a new file beside it that then takes its place
// in one step: the file a link points to, with the permissions it had, under
// a temporary name that no existing file has. `write` fills the new file.
IoError WriteFileAtomically(FileSystem& fs, const std::string& path, const std::function<bool(OutFile&)>& write);

}  // namespace quillet
