#include "notes/Links.h"

namespace quillet {

namespace {
bool HasMarkerAfterFirst(std::string_view s) {
  for (std::string_view m : {std::string_view("@"), std::string_view("://"), std::string_view(":\\")}) {
    const auto p = s.find(m, 1);
    if (p != std::string_view::npos) return true;
  }
  return false;
}

// An absolute path of this system ("/home/anna/list.txt", "~/list.txt"),
// possibly behind an opening quote: the local form of a drive path.
bool IsPathWord(std::string_view s) {
  if (!s.empty() && s[0] == '"') s.remove_prefix(1);
  if (s.size() > 2 && s[0] == '~' && s[1] == '/') return true;
  return s.size() > 1 && s[0] == '/' && s[1] != '/' && s.find('/', 1) != std::string_view::npos;
}

bool IsCandidate(std::string_view s) { return HasMarkerAfterFirst(s) || IsPathWord(s); }
}  // namespace

std::vector<std::string> ExtractLinks(std::string_view text) {
  std::vector<std::string> links;
  if (!HasMarkerAfterFirst(text) && text.find('/') == std::string_view::npos) return links;
  std::string flat;
  flat.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      flat.push_back(' ');
      ++i;
    } else {
      flat.push_back(text[i] == '\t' ? ' ' : text[i]);
    }
  }
  std::vector<std::string> words;
  std::size_t start = 0;
  for (;;) {
    const auto sp = flat.find(' ', start);
    words.push_back(flat.substr(start, sp == std::string::npos ? std::string::npos : sp - start));
    if (sp == std::string::npos) break;
    start = sp + 1;
  }
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (!IsCandidate(w)) continue;
    const auto quote = w.find('"');
    if (quote == std::string::npos) {
      links.push_back(w);
      continue;
    }
    // The closing quote is looked for in the words that follow.
    std::string collected = w.substr(quote + 1);
    for (std::size_t j = i + 1; j < words.size(); ++j) {
      collected += " " + words[j];
      const auto close = collected.find('"', 1);
      if (close != std::string::npos) {
        links.push_back(collected.substr(0, close));
        i = j;
        break;
      }
    }
  }
  return links;
}

std::string LinkTarget(const std::string& link) {
  if (link.find("://") != std::string::npos || link.find(":\\") != std::string::npos || IsPathWord(link)) return link;
  return "mailto:" + link;
}

}  // namespace quillet
