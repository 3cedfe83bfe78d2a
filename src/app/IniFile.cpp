#include "app/IniFile.h"

#include <fstream>
#include <sstream>

#include "common/Text.h"

namespace quillet {

namespace {
std::string Unquote(std::string v) {
  if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
    return v.substr(1, v.size() - 2);
  return v;
}
}  // namespace

bool CIniFile::Load(const std::string& path) {
  m_sections.clear();
  m_sections.push_back({});
  std::ifstream in(path, std::ios::binary);
  if (!in) return !FileSystem::Real().Exists(path);
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return false;
  Parse(ss.str());
  return true;
}

void CIniFile::Parse(std::string_view text) {
  m_sections.clear();
  m_sections.push_back({});
  // A UTF-8 byte order mark is not part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t pos = 0;
  while (pos <= text.size()) {
    auto eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    std::string_view line = text.substr(pos, eol - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = eol + 1;
    const std::string trimmed = Trim(line);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.find(']') != std::string::npos) {
      m_sections.push_back({Trim(std::string_view(trimmed).substr(1, trimmed.find(']') - 1)), {}});
      continue;
    }
    Line l;
    const auto eq = trimmed.find('=');
    if (!trimmed.empty() && trimmed[0] != ';' && trimmed[0] != '#' && eq != std::string::npos && eq > 0) {
      l.key = Trim(std::string_view(trimmed).substr(0, eq));
      l.value = Unquote(Trim(std::string_view(trimmed).substr(eq + 1)));
    } else {
      l.raw = std::string(line);
    }
    if (eol == text.size() && line.empty()) break;
    m_sections.back().lines.push_back(std::move(l));
  }
}

const CIniFile::Sec* CIniFile::FindSection(const std::string& name) const {
  for (std::size_t i = 1; i < m_sections.size(); ++i)
    if (EqualsNoCase(m_sections[i].name, name)) return &m_sections[i];
  return nullptr;
}

CIniFile::Sec* CIniFile::FindSection(const std::string& name) {
  return const_cast<Sec*>(static_cast<const CIniFile*>(this)->FindSection(name));
}

std::string CIniFile::Get(const std::string& section, const std::string& key) const {
  if (const Sec* s = FindSection(section))
    for (const Line& l : s->lines)
      if (!l.key.empty() && EqualsNoCase(l.key, key)) return l.value;
  return {};
}

bool CIniFile::Has(const std::string& section, const std::string& key) const {
  if (const Sec* s = FindSection(section))
    for (const Line& l : s->lines)
      if (!l.key.empty() && EqualsNoCase(l.key, key)) return true;
  return false;
}

std::vector<std::pair<std::string, std::string>> CIniFile::Section(const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> out;
  if (const Sec* s = FindSection(section))
    for (const Line& l : s->lines)
      if (!l.key.empty()) out.emplace_back(l.key, l.value);
  return out;
}

void CIniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  if (m_sections.empty()) m_sections.push_back({});
  Sec* s = FindSection(section);
  if (!s) {
    m_sections.push_back({section, {}});
    s = &m_sections.back();
  }
  for (Line& l : s->lines)
    if (!l.key.empty() && EqualsNoCase(l.key, key)) {
      l.value = value;
      return;
    }
  s->lines.push_back({{}, key, value});
}

std::string CIniFile::Serialize() const {
  std::string out;
  for (std::size_t i = 0; i < m_sections.size(); ++i) {
    if (i > 0) out += "[" + m_sections[i].name + "]\n";
    for (const Line& l : m_sections[i].lines) out += l.key.empty() ? l.raw + "\n" : l.key + "=" + l.value + "\n";
  }
  return out;
}

IoError CIniFile::Save(const std::string& path) const {
  const std::string text = Serialize();
  return WriteFileAtomically(FileSystem::Real(), path, [&](OutFile& out) { return out.Write(text.data(), text.size()); });
}

}  // namespace quillet
