#pragma once
// A small reader and writer of INI files ("[Section]" and "key=value" lines),
// with the rules of the platform's profile functions: names compare without
// regard to case, values are trimmed and lose one pair of enclosing quotes.
#include <map>
#include <string>
#include <vector>

#include "notes/FileIO.h"

namespace quillet {

class CIniFile {
 public:
  // Reads the file; a missing file is an empty one. False on a read error.
  bool Load(const std::string& path);
  void Parse(std::string_view text);

  // The value, or empty when the key is missing.
  std::string Get(const std::string& section, const std::string& key) const;
  bool Has(const std::string& section, const std::string& key) const;
  std::vector<std::pair<std::string, std::string>> Section(const std::string& section) const;

  void Set(const std::string& section, const std::string& key, const std::string& value);
  // Writes the whole file again, keeping comments and other sections.
  IoError Save(const std::string& path) const;
  std::string Serialize() const;

 private:
  struct Line {
    std::string raw;      // for comments and blank lines
    std::string key;      // empty for a non-key line
    std::string value;
  };
  struct Sec {
    std::string name;
    std::vector<Line> lines;
  };
  const Sec* FindSection(const std::string& name) const;
  Sec* FindSection(const std::string& name);

  std::vector<Sec> m_sections;  // the first has no name: lines before any header
};

}  // namespace quillet
