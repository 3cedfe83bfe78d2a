#include "notes/Backups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <regex>

namespace quillet {

namespace {
namespace fs = std::filesystem;

// The file name's stem and extension: "notes" and ".dat".
std::pair<std::string, std::string> SplitName(const std::string& dataPath) {
  const fs::path p(dataPath);
  return {p.stem().string(), p.extension().string()};
}

std::string RegexQuoted(const std::string& s) {
  static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
  return std::regex_replace(s, special, R"(\$&)");
}

// A computer's name as a file name may carry it.
std::string FileSafe(const std::string& name) {
  std::string out;
  for (unsigned char c : name) out += std::isalnum(c) || c == '-' || c == '_' || c == '.' ? static_cast<char>(c) : '_';
  return out.empty() ? "computer" : out;
}
}  // namespace

std::string BackupFolderOf(const std::string& dataPath) {
  return (fs::path(dataPath).parent_path() / "backups").string();
}

std::vector<std::string> BackupsOf(const std::string& dataPath, const std::string& computer) {
  const auto [stem, ext] = SplitName(dataPath);
  const std::regex name(RegexQuoted(stem) + R"(-\d{4}-\d{2}-\d{2}-)" + RegexQuoted(FileSafe(computer)) + RegexQuoted(ext));
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(BackupFolderOf(dataPath), ec))
    if (e.is_regular_file(ec) && std::regex_match(e.path().filename().string(), name)) found.push_back(e.path().string());
  // The date in the name sorts them.
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<std::string> ConflictCopiesOf(const std::string& dataPath) {
  const auto [stem, ext] = SplitName(dataPath);
  const std::regex name(RegexQuoted(stem) + R"((\.sync-conflict-[^/]*|( \([^()/]*conflicted copy[^()/]*\))))" + RegexQuoted(ext),
                        std::regex::icase);
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(fs::path(dataPath).parent_path(), ec))
    if (e.is_regular_file(ec) && std::regex_match(e.path().filename().string(), name)) found.push_back(e.path().string());
  std::sort(found.begin(), found.end());
  return found;
}

std::string KeepDailyBackup(FileSystem& files, const std::string& dataPath, const DateTime& today, int keep,
                            const std::string& computer, IoError* error) {
  if (keep <= 0 || !files.Exists(dataPath)) return {};
  DateParts d;
  if (!today.ToParts(d)) return {};
  const auto [stem, ext] = SplitName(dataPath);
  char date[16];
  std::snprintf(date, sizeof date, "-%04d-%02d-%02d", d.year, d.month, d.day);
  const std::string folder = BackupFolderOf(dataPath);
  const std::string copy = (fs::path(folder) / (stem + date + "-" + FileSafe(computer) + ext)).string();
  if (files.Exists(copy)) return {};  // this day's copy is made
  IoError err = files.CreateFolders(folder);
  if (!err) {
    IoError readErr;
    auto in = files.OpenRead(dataPath, readErr);
    if (!in) err = readErr;
    else
      err = WriteFileAtomically(files, copy, [&](OutFile& out) {
        char buf[65536];
        for (;;) {
          const std::ptrdiff_t n = in->Read(buf, sizeof buf);
          if (n < 0) return false;
          if (n == 0) return true;
          if (!out.Write(buf, static_cast<std::size_t>(n))) return false;
        }
      });
  }
  if (err) {
    if (error) *error = err;
    return {};
  }
  std::vector<std::string> kept = BackupsOf(dataPath, computer);
  for (std::size_t i = 0; i + static_cast<std::size_t>(keep) < kept.size(); ++i) files.Remove(kept[i]);
  return copy;
}

}  // namespace quillet
