#include "notes/FileIO.h"

#include <random>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillet {

IoError IoError::FromErrno(int err) {
  if (err == 0) err = EIO;
  return {err, std::strerror(err)};
}

std::ptrdiff_t MemoryInFile::Read(void* buf, std::size_t n) {
  const std::size_t take = std::min(n, m_size - m_pos);
  if (take) std::memcpy(buf, m_data + m_pos, take);
  m_pos += take;
  return static_cast<std::ptrdiff_t>(take);
}

namespace {

namespace fs = std::filesystem;

class StdInFile final : public InFile {
 public:
  explicit StdInFile(std::FILE* f) : m_f(f) {}
  ~StdInFile() override { std::fclose(m_f); }
  std::ptrdiff_t Read(void* buf, std::size_t n) override {
    const std::size_t got = std::fread(buf, 1, n, m_f);
    if (got < n && std::ferror(m_f)) return -1;
    return static_cast<std::ptrdiff_t>(got);
  }
  bool Seek(int64_t offset) override { return std::fseek(m_f, static_cast<long>(offset), SEEK_SET) == 0; }
  int64_t Size() override {
    const long here = std::ftell(m_f);
    if (std::fseek(m_f, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(m_f);
    std::fseek(m_f, here, SEEK_SET);
    return end;
  }

 private:
  std::FILE* m_f;
};

class StdOutFile final : public OutFile {
 public:
  explicit StdOutFile(std::FILE* f) : m_f(f) {}
  ~StdOutFile() override {
    if (m_f) std::fclose(m_f);
  }
  bool Seek(int64_t offset) override { return Check(std::fseek(m_f, static_cast<long>(offset), SEEK_SET) == 0); }
  bool Write(const void* data, std::size_t n) override { return Check(std::fwrite(data, 1, n, m_f) == n); }
  bool Sync() override {
    if (!Check(std::fflush(m_f) == 0)) return false;
#ifdef _WIN32
    return Check(_commit(_fileno(m_f)) == 0);
#else
    return Check(::fsync(fileno(m_f)) == 0);
#endif
  }
  bool Close() override {
    std::FILE* f = m_f;
    m_f = nullptr;
    return Check(std::fclose(f) == 0);
  }
  IoError LastError() const override { return m_err; }

 private:
  bool Check(bool ok) {
    if (!ok && !m_err) m_err = IoError::FromErrno(errno);
    return ok;
  }
  std::FILE* m_f;
  IoError m_err;
};

void SyncDirectoryOf(const std::string& path) {
#ifndef _WIN32
  const fs::path dir = fs::path(path).parent_path();
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
#else
  (void)path;
#endif
}

class RealFileSystem final : public FileSystem {
 public:
  std::unique_ptr<InFile> OpenRead(const std::string& path, IoError& err) override {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
      err = IoError::FromErrno(errno);
      return nullptr;
    }
    return std::make_unique<StdInFile>(f);
  }
  std::unique_ptr<OutFile> OpenWrite(const std::string& path, WriteMode mode, IoError& err) override {
    const char* how = mode == WriteMode::InPlace ? "r+b" : mode == WriteMode::CreateNew ? "wbx" : "wb";
    std::FILE* f = std::fopen(path.c_str(), how);
    if (!f) {
      err = IoError::FromErrno(errno);
      return nullptr;
    }
    return std::make_unique<StdOutFile>(f);
  }
  IoError Replace(const std::string& from, const std::string& to) override {
    std::error_code ec;
#ifndef _WIN32
    // The new file takes over the permissions of the one it replaces.
    struct stat st {};
    if (::stat(to.c_str(), &st) == 0) ::chmod(from.c_str(), st.st_mode & 07777);
#endif
    fs::rename(from, to, ec);
    if (ec) return {ec.value() ? ec.value() : EIO, ec.message()};
    SyncDirectoryOf(to);
    return {};
  }
  bool IsDirectory(const std::string& path) override {
    std::error_code ec;
    return fs::is_directory(path, ec);
  }
  IoError CreateFolders(const std::string& path) override {
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec)) return {};
    fs::create_directories(path, ec);
    if (ec) return {ec.value() ? ec.value() : EIO, ec.message()};
    return {};
  }
  std::string ResolveLinks(const std::string& path) override {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path target = fs::weakly_canonical(path, ec);
    return ec ? path : target.string();
  }
  IoError Copy(const std::string& from, const std::string& to) override {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) return {ec.value() ? ec.value() : EIO, ec.message()};
    return {};
  }
  void Remove(const std::string& path) override {
    std::error_code ec;
    fs::remove(path, ec);
  }
  bool Exists(const std::string& path) override {
    std::error_code ec;
    return fs::exists(path, ec);
  }
  std::optional<FileStamp> Stamp(const std::string& path) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileStamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
  }
  int64_t FileSize(const std::string& path) override {
    std::error_code ec;
    const auto n = fs::file_size(path, ec);
    return ec ? -1 : static_cast<int64_t>(n);
  }
  IoError Truncate(const std::string& path, int64_t size) override {
    std::error_code ec;
    fs::resize_file(path, static_cast<std::uintmax_t>(size), ec);
    if (ec) return {ec.value() ? ec.value() : EIO, ec.message()};
    return {};
  }
  bool IsWritable(const std::string& path) override {
#ifdef _WIN32
    return _access(path.c_str(), 2) == 0;
#else
    // Root may write anywhere; a file without any write bit still counts as
    // read-only, as the read-only attribute does elsewhere.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0) return false;
    return ::access(path.c_str(), W_OK) == 0;
#endif
  }
};

}  // namespace

FileSystem& FileSystem::Real() {
  static RealFileSystem fs;
  return fs;
}

IoError WriteFileAtomically(FileSystem& fs, const std::string& path, const std::function<bool(OutFile&)>& write) {
  // Writing beside the link itself would turn the link into a plain file.
  const std::string target = fs.ResolveLinks(path);
  std::random_device rd;
  IoError err;
  std::string temp;
  std::unique_ptr<OutFile> out;
  for (int attempt = 0; !out && attempt < 16; ++attempt) {
    temp = target + ".quillet-" + std::to_string(rd()) + ".tmp";
    out = fs.OpenWrite(temp, FileSystem::WriteMode::CreateNew, err);
    if (!out && err.code != EEXIST) return err;
  }
  if (!out) return err;
  bool ok = write(*out) && out->Sync();
  if (!ok) err = out->LastError();
  if (!out->Close() && ok) {
    ok = false;
    err = out->LastError();
  }
  if (ok) err = fs.Replace(temp, target);
  if (!ok || err) {
    fs.Remove(temp);
    return err ? err : IoError::FromErrno(EIO);
  }
  return {};
}

}  // namespace quillet
