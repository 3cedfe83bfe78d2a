#include "notes/Note.h"

#include <cstring>

#include "common/Text.h"

namespace quillet {

namespace {
void PutI32(unsigned char* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  p[0] = u & 0xFF;
  p[1] = (u >> 8) & 0xFF;
  p[2] = (u >> 16) & 0xFF;
  p[3] = (u >> 24) & 0xFF;
}
int32_t GetI32(const unsigned char* p) {
  return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
}
}  // namespace

void LogFont::Write(unsigned char* out) const {
  PutI32(out + 0, height);
  PutI32(out + 4, width);
  PutI32(out + 8, escapement);
  PutI32(out + 12, orientation);
  PutI32(out + 16, weight);
  out[20] = italic;
  out[21] = underline;
  out[22] = strikeOut;
  out[23] = charSet;
  out[24] = outPrecision;
  out[25] = clipPrecision;
  out[26] = quality;
  out[27] = pitchAndFamily;
  std::memcpy(out + 28, faceName.data(), 32);
}

LogFont LogFont::Read(const unsigned char* in) {
  LogFont f;
  f.height = GetI32(in + 0);
  f.width = GetI32(in + 4);
  f.escapement = GetI32(in + 8);
  f.orientation = GetI32(in + 12);
  f.weight = GetI32(in + 16);
  f.italic = in[20];
  f.underline = in[21];
  f.strikeOut = in[22];
  f.charSet = in[23];
  f.outPrecision = in[24];
  f.clipPrecision = in[25];
  f.quality = in[26];
  f.pitchAndFamily = in[27];
  std::memcpy(f.faceName.data(), in + 28, 32);
  return f;
}

std::array<unsigned char, LogFont::kSize> LogFont::Bytes() const {
  std::array<unsigned char, kSize> b{};
  Write(b.data());
  return b;
}

std::string LogFont::FaceName() const {
  return DecodeLocalText(FieldBytes(reinterpret_cast<const unsigned char*>(faceName.data()), faceName.size()));
}

void LogFont::SetFaceName(std::string_view utf8Name) {
  faceName.fill(0);
  const std::string held = BoundedField(utf8Name, faceName.size());
  std::memcpy(faceName.data(), held.data(), held.size());
}

LogFont LogFont::Default() {
  LogFont f;
  f.height = -13;  // 10 points at 96 dots per inch
  f.weight = 400;
  f.charSet = 1;            // default character set
  f.pitchAndFamily = 0x22;  // variable pitch, Swiss family
  f.SetFaceName("Arial");
  return f;
}

namespace {
// The Windows-1252 form of a text too long for its field in UTF-8, when that
// form fits and reads back as the same text (it must not pass for UTF-8).
std::optional<std::string> NarrowForm(std::string_view s, std::size_t fieldWidth) {
  if (s.size() <= fieldWidth - 1) return std::nullopt;
  auto narrow = Utf8ToCp1252(s);
  if (!narrow || narrow->size() > fieldWidth - 1 || IsValidUtf8(*narrow)) return std::nullopt;
  return narrow;
}
}  // namespace

bool FitsField(std::string_view s, std::size_t fieldWidth) {
  return s.size() <= fieldWidth - 1 || NarrowForm(s, fieldWidth).has_value();
}

std::string BoundedField(std::string_view s, std::size_t fieldWidth) {
  const auto nul = s.find('\0');
  if (nul != std::string_view::npos) s = s.substr(0, nul);
  // A text converted from an older file may be longer in UTF-8 than the field;
  // it is kept whole as long as it can still be written.
  if (NarrowForm(s, fieldWidth)) return std::string(s);
  return HoldToWidth(s, fieldWidth - 1);
}

std::string FieldBytesOf(std::string_view s, std::size_t fieldWidth) {
  const std::string held = BoundedField(s, fieldWidth);
  if (auto narrow = NarrowForm(held, fieldWidth)) return *narrow;
  return held;
}

void CNote::SetText(std::string_view text) { m_text = BoundedField(text, kTextField); }
void CNote::SetAlarmExec(std::string_view s) { m_alarmExec = BoundedField(s, kPathField); }
void CNote::SetAlarmWave(std::string_view s) { m_alarmWave = BoundedField(s, kPathField); }
void CNote::SetReceivedFrom(std::string_view s) { m_receivedFrom = BoundedField(s, kNameField); }
void CNote::SetFolder(std::string_view s) { m_folder = BoundedField(s, kNameField); }

std::string CNote::FirstLine() const {
  const auto cr = m_text.find('\r');
  return cr == std::string::npos ? m_text : m_text.substr(0, cr);
}

}  // namespace quillet
