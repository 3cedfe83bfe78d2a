#pragma once
// The note message sent between computers: a header line naming the sender,
// a line feed, and the note's text; one message per connection, ended by the
// sender closing it. A single space is a probe that carries no note.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

inline constexpr std::size_t kMaxMessage = 2046;  // the receiver reads no more
inline constexpr std::size_t kMaxSenderName = 30;
inline constexpr std::string_view kProbeMessage = " ";
inline constexpr uint16_t kDefaultPort = 24837;

// "computer (sender)\n" + text, or "computer\n" + text without a sender name.
std::string EncodeMessage(const std::string& computerName, const std::string& senderName, const std::string& text);

struct ReceivedNote {
  std::string from;  // the header, held to 62 bytes when it reaches 64
  std::string text;
  std::string peer;  // the address it came from, as the receiver saw it
};

// A header that names no computer (a title, as KNotes sends) keeps the
// address it came from: "title [192.168.1.7]", within 63 bytes, the title
// cut at a character and the address whole.
std::string WithPeerAddress(std::string_view from, std::string_view address);

// A note when the message has a non-empty header and a non-empty text
// within its first 2046 bytes; the text ends at a NUL byte.
std::optional<ReceivedNote> DecodeMessage(std::string_view bytes);

// The computer a recipient entry names: an address in brackets at its end
// ("Shopping [192.168.1.7]"), a quoted name, or the text up to the first
// space ("PC7 (Anna)" names PC7).
std::string HostOf(std::string_view entry);

// Typed recipients: fields separated by "," or ";", trimmed, empty ones skipped.
std::vector<std::string> SplitRecipients(std::string_view text);
// The typed recipients without the one field that was served: whole fields
// only, never a part of another name.
std::string RemoveRecipient(std::string_view typed, std::string_view served);

// Hosts to send to, each with the recipient text it came from: the ticked
// list entries first, then the typed fields; a host appears once, whatever
// its letter case.
std::vector<std::pair<std::string, std::string>> BuildRecipients(const std::vector<std::string>& tickedEntries,
                                                                 const std::string& typed);

// Who may drop notes on this screen ("NetAccept"): any computer, only those
// of the networks this computer is on, or only the listed ones
// ("NetAcceptList"). The loopback network is one of this computer's.
enum class AcceptFrom { kAny = 0, kThisNetwork = 1, kListed = 2 };
struct Ipv4Net {
  uint32_t address = 0;
  uint32_t mask = 0xFFFFFFFFu;
  bool Contains(uint32_t a) const { return (a & mask) == (address & mask); }
};
// "192.168.1.7" or "192.168.1.0/24"; nothing for a name or a mistake.
std::optional<Ipv4Net> ParseIpv4Net(std::string_view text);
bool PeerAccepted(AcceptFrom rule, uint32_t peer, const std::vector<Ipv4Net>& localNets,
                  const std::vector<Ipv4Net>& listed);

// The port of the "NetPort" text: its leading digits, 0 without any.
uint16_t PortFromText(std::string_view text);

}  // namespace quillet
