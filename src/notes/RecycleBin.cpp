#include "notes/RecycleBin.h"

#include <cerrno>
#include <algorithm>
#include <cstdint>
#include <random>
#include <cstring>

#include "common/Text.h"
#include "notes/Note.h"

namespace quillet {

namespace {
constexpr std::size_t kBinHeader = 8;
constexpr unsigned char kBinMagic[kBinHeader] = {'Q', 'L', 'b', 'i', 'n', 0, 1, 0};

int Digits(const std::string& s, std::size_t pos, std::size_t n) {
  int v = 0;
  for (std::size_t i = pos; i < pos + n && i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return 0;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}
}  // namespace

int RecycleBinEntry::Year() const { return Digits(time, 0, 4); }
int RecycleBinEntry::Month() const { return Digits(time, 4, 2); }
int RecycleBinEntry::Day() const { return Digits(time, 6, 2); }
int RecycleBinEntry::Hour() const { return Digits(time, 8, 2); }
int RecycleBinEntry::Minute() const { return Digits(time, 10, 2); }
int RecycleBinEntry::Second() const { return Digits(time, 12, 2); }
DateTime RecycleBinEntry::Deleted() const { return DateTime::FromParts(Year(), Month(), Day(), Hour(), Minute(), Second()); }

std::string CRecycleBin::DerivedPath(const std::string& dataFilePath) {
  // Only the file name's own extension is replaced; a leading dot is no extension.
  const auto slash = dataFilePath.find_last_of("/\\");
  const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  const auto dot = dataFilePath.rfind('.');
  if (dot == std::string::npos || dot <= name) return dataFilePath + ".rbi";
  return dataFilePath.substr(0, dot) + ".rbi";
}

RecycleBinAppend CRecycleBin::Append(FileSystem& fs, const std::string& path, const std::string& stamp14,
                                     const std::vector<std::string>& texts) {
  RecycleBinAppend r;
  IoError err;
  std::unique_ptr<OutFile> out;
  int64_t end = 0;
  if (fs.Exists(path)) {
    auto in = fs.OpenRead(path, err);
    if (!in) {
      r.status = RecycleBinAppend::Status::IoError;
      r.error = err;
      return r;
    }
    unsigned char head[kBinHeader];
    const auto got = in->Read(head, kBinHeader);
    // The version is not examined; the magic compares as a NUL-terminated string.
    if (got < static_cast<std::ptrdiff_t>(kBinHeader) || std::memcmp(head, kBinMagic, 6) != 0) {
      r.status = RecycleBinAppend::Status::Invalid;
      return r;
    }
    end = fs.FileSize(path);
    // An entry cut off by a crash would swallow the next one: end it first.
    unsigned char last = 0;
    const bool unterminated = end > static_cast<int64_t>(kBinHeader) && in->Seek(end - 1) && in->Read(&last, 1) == 1 && last != 0;
    in.reset();
    if (!fs.IsWritable(path)) {
      r.status = RecycleBinAppend::Status::IoError;
      r.error = IoError::FromErrno(EACCES);
      return r;
    }
    out = fs.OpenWrite(path, FileSystem::WriteMode::InPlace, err);
    if (out && !out->Seek(end)) err = out->LastError(), out.reset();
    if (out && unterminated) {
      const char zero = 0;
      if (out->Write(&zero, 1) && out->Sync())
        ++end;
      else
        err = out->LastError(), out.reset();
    }
  } else {
    out = fs.OpenWrite(path, FileSystem::WriteMode::Create, err);
    if (out && !out->Write(kBinMagic, kBinHeader)) err = out->LastError(), out.reset();
    end = kBinHeader;
  }
  if (!out) {
    r.status = RecycleBinAppend::Status::IoError;
    r.error = err;
    return r;
  }
  for (const std::string& text : texts) {
    std::string entry = stamp14.substr(0, 14);
    // NULs would end the entry early; the field never holds them.
    entry += FieldBytesOf(text, kTextField);
    entry.push_back('\0');
    if (!out->Write(entry.data(), entry.size()) || !out->Sync()) break;
    end += static_cast<int64_t>(entry.size());
    ++r.written;
  }
  const bool closed = out->Close();
  if (r.written < texts.size() || !closed) {
    r.status = RecycleBinAppend::Status::IoError;
    r.error = out->LastError();
    if (!r.error) r.error = IoError::FromErrno(EIO);
    // A half-written entry would swallow the next one; cut it off.
    fs.Truncate(path, end);
  }
  return r;
}

RecycleBinRead CRecycleBin::Parse(std::string_view data) {
  RecycleBinRead r;
  if (data.size() < kBinHeader || std::memcmp(data.data(), kBinMagic, 6) != 0) {
    r.status = RecycleBinRead::Status::Invalid;
    return r;
  }
  r.entries = ParseEntries(data.substr(kBinHeader));
  return r;
}

std::vector<RecycleBinEntry> CRecycleBin::ParseEntries(std::string_view body) {
  std::vector<RecycleBinEntry> entries;
  std::size_t i = 0;
  while (i < body.size()) {
    const auto nul = body.find('\0', i);
    const std::string_view raw = body.substr(i, nul == std::string_view::npos ? body.size() - i : nul - i);
    RecycleBinEntry e;
    e.time = std::string(raw.substr(0, 14));
    if (raw.size() > 14) e.text = DecodeLocalText(raw.substr(14));
    entries.push_back(std::move(e));
    if (nul == std::string_view::npos) break;
    i = nul + 1;
  }
  return entries;
}

RecycleBinRead CRecycleBin::Read(FileSystem& fs, const std::string& path) {
  RecycleBinRead r;
  if (!fs.Exists(path)) {
    r.status = RecycleBinRead::Status::Missing;
    return r;
  }
  IoError err;
  auto in = fs.OpenRead(path, err);
  if (!in) {
    r.status = RecycleBinRead::Status::IoError;
    r.error = err;
    return r;
  }
  std::string data;
  char buf[65536];
  for (;;) {
    const auto n = in->Read(buf, sizeof buf);
    if (n < 0) {
      r.status = RecycleBinRead::Status::IoError;
      r.error = IoError::FromErrno(EIO);
      return r;
    }
    if (n == 0) break;
    data.append(buf, static_cast<std::size_t>(n));
  }
  return Parse(data);
}

CRecycleBin::RemoveStatus CRecycleBin::RemoveEntries(FileSystem& fs, const std::string& path,
                                                     const std::vector<int>& numbers, IoError* error) {
  const RecycleBinRead r = Read(fs, path);
  if (r.status == RecycleBinRead::Status::Invalid) return RemoveStatus::Invalid;
  if (r.status != RecycleBinRead::Status::Ok) {
    if (error) *error = r.error;
    return r.status == RecycleBinRead::Status::Missing ? RemoveStatus::Ok : RemoveStatus::IoError;
  }
  std::string body(reinterpret_cast<const char*>(kBinMagic), kBinHeader);
  for (std::size_t i = 0; i < r.entries.size(); ++i) {
    if (std::find(numbers.begin(), numbers.end(), static_cast<int>(i)) != numbers.end()) continue;
    body += r.entries[i].time;
    body += r.entries[i].text;
    body.push_back('\0');
  }
  const IoError err = WriteFileAtomically(fs, path, [&](OutFile& out) { return out.Write(body.data(), body.size()); });
  if (err) {
    if (error) *error = err;
    return RemoveStatus::IoError;
  }
  return RemoveStatus::Ok;
}

}  // namespace quillet
