#include "net/TransferProtocol.h"

#include <algorithm>
#include <cctype>

#include "common/Text.h"

namespace quillet {

std::string EncodeMessage(const std::string& computerName, const std::string& senderName, const std::string& text) {
  std::string message = computerName;
  if (!senderName.empty()) message += " (" + senderName + ")";
  message += '\n';
  message += text;
  return message;
}

std::optional<ReceivedNote> DecodeMessage(std::string_view bytes) {
  // A receiver reads no more than this: a message that reaches it may have been cut.
  const bool cut = bytes.size() >= kMaxMessage;
  if (bytes.size() > kMaxMessage) bytes = bytes.substr(0, kMaxMessage);
  // The message is read as a NUL-terminated string.
  bytes = bytes.substr(0, std::min(bytes.size(), bytes.find('\0')));
  const auto lf = bytes.find('\n');
  if (lf == std::string_view::npos) return std::nullopt;
  const std::string_view header = bytes.substr(0, lf);
  const std::string_view text = bytes.substr(lf + 1);
  if (header.empty() || text.empty()) return std::nullopt;
  ReceivedNote note;
  // Senders that write bare line feeds (KNotes does) give their lines a CR.
  const std::string_view from = header.size() >= 64 ? header.substr(0, 62) : header;
  note.from = HoldToWidth(DecodeCutText(from, from.size() < header.size()), 63);
  note.text = ToCrLf(DecodeCutText(text, cut && text.size() == bytes.size() - lf - 1));
  // A text that was only the start of a character cut by the limit is no text.
  if (note.from.empty() || note.text.empty()) return std::nullopt;
  return note;
}

std::string WithPeerAddress(std::string_view from, std::string_view address) {
  const std::string tail = " [" + std::string(address) + "]";
  if (tail.size() >= 63) return std::string(from);
  return HoldToWidth(std::string(from), 63 - tail.size()) + tail;
}

std::string HostOf(std::string_view entry) {
  std::string_view host;
  if (const auto open = entry.rfind(" ["); open != std::string_view::npos && entry.size() > open + 3 &&
                                           entry.back() == ']') {
    host = entry.substr(open + 2, entry.size() - open - 3);
  } else if (!entry.empty() && entry.front() == '"') {
    const auto close = entry.find('"', 1);
    host = entry.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  } else {
    host = entry.substr(0, entry.find(' '));
  }
  return std::string(host.empty() ? entry : host);
}

std::vector<std::string> SplitRecipients(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(",;", start);
    if (end == std::string_view::npos) end = text.size();
    std::string field = Trim(text.substr(start, end - start));
    if (!field.empty()) fields.push_back(std::move(field));
    start = end + 1;
  }
  return fields;
}

std::string RemoveRecipient(std::string_view typed, std::string_view served) {
  std::string out;
  bool removed = false;
  for (const std::string& field : SplitRecipients(typed)) {
    if (!removed && field == served) {
      removed = true;
      continue;
    }
    out += (out.empty() ? "" : ", ") + field;
  }
  return out;
}

std::vector<std::pair<std::string, std::string>> BuildRecipients(const std::vector<std::string>& ticked,
                                                                 const std::string& typed) {
  std::vector<std::pair<std::string, std::string>> out;
  auto add = [&](const std::string& recipient) {
    const std::string host = HostOf(recipient);
    for (const auto& [h, r] : out)
      if (EqualsNoCase(h, host)) return;
    out.emplace_back(host, recipient);
  };
  for (const auto& entry : ticked) add(entry);
  for (const auto& field : SplitRecipients(typed)) add(field);
  return out;
}

uint16_t PortFromText(std::string_view text) {
  unsigned long port = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    port = port * 10 + static_cast<unsigned long>(c - '0');
    if (port > 65535) return 0;
  }
  return static_cast<uint16_t>(port);
}

std::optional<Ipv4Net> ParseIpv4Net(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int bits = 32;
  if (const auto slash = text.find('/'); slash != std::string_view::npos) {
    const std::string_view b = text.substr(slash + 1);
    if (b.empty() || b.size() > 2 || !std::all_of(b.begin(), b.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return std::nullopt;
    bits = std::stoi(std::string(b));
    if (bits > 32) return std::nullopt;
    text = text.substr(0, slash);
  }
  uint32_t address = 0;
  int parts = 0;
  std::size_t i = 0;
  while (parts < 4) {
    std::size_t j = i;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == i || j - i > 3) return std::nullopt;
    const int value = std::stoi(std::string(text.substr(i, j - i)));
    if (value > 255) return std::nullopt;
    address = (address << 8) | static_cast<uint32_t>(value);
    ++parts;
    if (parts < 4) {
      if (j >= text.size() || text[j] != '.') return std::nullopt;
      ++j;
    }
    i = j;
  }
  if (i != text.size()) return std::nullopt;
  const uint32_t mask = bits == 0 ? 0 : 0xFFFFFFFFu << (32 - bits);
  return Ipv4Net{address, mask};
}

bool PeerAccepted(AcceptFrom rule, uint32_t peer, const std::vector<Ipv4Net>& localNets,
                  const std::vector<Ipv4Net>& listed) {
  if (rule == AcceptFrom::kAny) return true;
  const auto& nets = rule == AcceptFrom::kThisNetwork ? localNets : listed;
  return std::any_of(nets.begin(), nets.end(), [peer](const Ipv4Net& n) { return n.Contains(peer); });
}

}  // namespace quillet
