#pragma once
#include <cstdint>

#include "notes/FileIO.h"

namespace quillet::test {

// The real file system, except that writing stops with "no space left"
// once a budget of bytes is spent, or syncing or replacing fails on demand.
class FailingFileSystem final : public FileSystem {
 public:
  int64_t writeBudget = -1;  // bytes that may still be written; -1 no limit
  bool failSync = false;
  bool failReplace = false;
  int writesSeen = 0;

  std::unique_ptr<InFile> OpenRead(const std::string& path, IoError& err) override {
    return Real().OpenRead(path, err);
  }
  std::unique_ptr<OutFile> OpenWrite(const std::string& path, WriteMode mode, IoError& err) override;
  IoError Replace(const std::string& from, const std::string& to) override;
  IoError Copy(const std::string& from, const std::string& to) override { return Real().Copy(from, to); }
  void Remove(const std::string& path) override { Real().Remove(path); }
  bool Exists(const std::string& path) override { return Real().Exists(path); }
  int64_t FileSize(const std::string& path) override { return Real().FileSize(path); }
  bool IsWritable(const std::string& path) override { return Real().IsWritable(path); }
  IoError Truncate(const std::string& path, int64_t size) override { return Real().Truncate(path, size); }
};

}  // namespace quillet::test
