#include "notes/NoteText.h"

#include <algorithm>

#include "common/Text.h"

namespace quillet {

namespace {
bool IsNewline(char c) { return c == '\r' || c == '\n'; }
}  // namespace

std::string StripOuterNewlines(std::string_view s) {
  while (!s.empty() && IsNewline(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsNewline(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string StripTrailingNewlines(std::string_view s) {
  while (!s.empty() && IsNewline(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::optional<std::string> BuildPasteText(const std::string& existing, std::string_view clipboard,
                                          const std::function<bool()>& askTooLarge) {
  std::string clip = StripOuterNewlines(clipboard);
  if (existing.size() + clip.size() + 2 >= 2048) {
    if (!askTooLarge || !askTooLarge()) return std::nullopt;
    const std::size_t room = existing.size() < 2044 ? 2044 - existing.size() : 0;
    clip = StripTrailingNewlines(HoldToWidth(clip, room));
  }
  std::string text = existing;
  if (!text.empty()) text += "\r\n";
  text += clip;
  return text;
}

std::string CapNoteText(std::string text) {
  if (text.size() >= 2048) text = StripTrailingNewlines(HoldToWidth(text, kMaxEditText));
  return text;
}

std::string JoinForCopy(const std::vector<std::string>& texts, const std::string& separator) {
  std::string out;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out += "\r\n" + separator + "\r\n";
    out += texts[i];
  }
  return out;
}

int FormatBoxWidth(int fw, int fh, const std::function<int(int)>& heightAt, int maxWidth) {
  fw = std::clamp(fw, 1, 10);
  fh = std::clamp(fh, 1, 10);
  int w = fw, h = fh;
  while (heightAt(w) > h && w < maxWidth) {
    w += fw;
    h += fh;
  }
  return w;
}

}  // namespace quillet
