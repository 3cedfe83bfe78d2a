#include "notelist/Search.h"

namespace quillet {

namespace {

char32_t Lower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;                      // Latin-1
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149) {        // Latin Extended-A
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2) ? c + 1 : c;
    return (c % 2) ? c : c + 1;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;                     // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 32;                                    // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

constexpr std::string_view kBreaks = ",;.:-_#'+*<>|@!\"/()=?{[]}\\";

}  // namespace

std::string FoldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (i + len > s.size()) len = 1;
    char32_t c = len == 1 ? b : (b & (0xFF >> (len + 1)));
    for (std::size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    if (len == 1 && b >= 0x80) {
      out.push_back(static_cast<char>(b));  // not UTF-8: left as it is
    } else {
      Append(out, Lower(c));
    }
    i += len;
  }
  return out;
}

bool MatchesSearch(std::string_view text, std::string_view search, bool caseSensitive, bool wholeWord) {
  std::string t = caseSensitive ? std::string(text) : FoldCase(text);
  std::string s = caseSensitive ? std::string(search) : FoldCase(search);
  if (wholeWord) {
    s = " " + s + " ";
    std::string padded;
    padded.reserve(t.size() + 2);
    padded.push_back(' ');
    for (std::size_t i = 0; i < t.size(); ++i) {
      const char c = t[i];
      if (c == '\r' && i + 1 < t.size() && t[i + 1] == '\n') {
        padded.push_back(' ');
        ++i;
      } else if (c == '\t' || (kBreaks.find(c) != std::string_view::npos && s.find(c) == std::string::npos)) {
        padded.push_back(' ');
      } else {
        padded.push_back(c);
      }
    }
    padded.push_back(' ');
    t = std::move(padded);
  }
  return t.find(s) != std::string::npos;
}

}  // namespace quillet
