#include "support/FailingFileSystem.h"

#include <cerrno>

namespace quillet::test {

namespace {
class FailingOutFile final : public OutFile {
 public:
  FailingOutFile(std::unique_ptr<OutFile> inner, FailingFileSystem& fs) : m_inner(std::move(inner)), m_fs(fs) {}
  bool Seek(int64_t offset) override { return m_inner->Seek(offset); }
  bool Write(const void* data, std::size_t n) override {
    ++m_fs.writesSeen;
    if (m_fs.writeBudget >= 0) {
      if (static_cast<int64_t>(n) > m_fs.writeBudget) {
        // Part of the data reaches the file, as on a disk that fills up.
        m_inner->Write(data, static_cast<std::size_t>(m_fs.writeBudget));
        m_fs.writeBudget = 0;
        m_err = IoError::FromErrno(ENOSPC);
        return false;
      }
      m_fs.writeBudget -= static_cast<int64_t>(n);
    }
    return m_inner->Write(data, n);
  }
  bool Sync() override {
    if (m_fs.failSync) {
      m_err = IoError::FromErrno(EIO);
      return false;
    }
    return m_inner->Sync();
  }
  bool Close() override { return m_inner->Close(); }
  IoError LastError() const override { return m_err ? m_err : m_inner->LastError(); }

 private:
  std::unique_ptr<OutFile> m_inner;
  FailingFileSystem& m_fs;
  IoError m_err;
};
}  // namespace

std::unique_ptr<OutFile> FailingFileSystem::OpenWrite(const std::string& path, WriteMode mode, IoError& err) {
  auto inner = Real().OpenWrite(path, mode, err);
  if (!inner) return nullptr;
  return std::make_unique<FailingOutFile>(std::move(inner), *this);
}

IoError FailingFileSystem::Replace(const std::string& from, const std::string& to) {
  if (failReplace) return IoError::FromErrno(EXDEV);
  return Real().Replace(from, to);
}

}  // namespace quillet::test
