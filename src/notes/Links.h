#pragma once
// Links in a note's text: web and file addresses and e-mail addresses.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The links of a text in text order. A word is a link when it holds "@",
// "://" or ":\" after its first character; a word with a double quote starts
// a quoted link that runs to the next word holding a closing quote. Absolute
// paths of this system count as links too.
std::vector<std::string> ExtractLinks(std::string_view text);

// What to open for a link: unchanged with a scheme or a path, else an e-mail address.
std::string LinkTarget(const std::string& link);

}  // namespace quillet
