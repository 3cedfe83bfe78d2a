#include <gtest/gtest.h>

#include "common/Text.h"
#include "net/TransferProtocol.h"

using namespace quillet;

namespace {
std::optional<ReceivedNote> Decode(const std::string& s) { return DecodeMessage(s); }
}  // namespace

TEST(TransferProtocol, HeaderLineThenText) {
  EXPECT_EQ(EncodeMessage("PC7", "", "Hello"), "PC7\nHello");
  EXPECT_EQ(EncodeMessage("PC7", "Anna", "a\r\nb"), "PC7 (Anna)\na\r\nb");
  const auto n = Decode("PC7\nHello");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->from, "PC7");
  EXPECT_EQ(n->text, "Hello");
  const auto two = Decode("PC7 (Anna)\na\r\nb");
  ASSERT_TRUE(two);
  EXPECT_EQ(two->from, "PC7 (Anna)");
  EXPECT_EQ(two->text, "a\r\nb");
}

TEST(TransferProtocol, MessagesThatCarryNoNote) {
  EXPECT_FALSE(Decode(std::string(kProbeMessage)));
  EXPECT_FALSE(Decode(""));
  EXPECT_FALSE(Decode("PC7\n"));
  EXPECT_FALSE(Decode("\nHello"));
  EXPECT_FALSE(Decode(std::string("PC7\0\nHello", 11)));
  EXPECT_FALSE(Decode(std::string("PC7\n\0Hello", 11)));
}

TEST(TransferProtocol, WhatTheReceiverKeeps) {
  const auto cr = Decode("PC7\r\nHello");
  ASSERT_TRUE(cr);
  EXPECT_EQ(cr->from, "PC7\r");  // a CR before the line feed stays in the header
  const auto nul = Decode(std::string("PC7\nab\0cd", 9));
  EXPECT_EQ(nul->text, "ab");
  const std::string big = "PC7\n" + std::string(2996, 'x');
  EXPECT_EQ(Decode(big)->text.size(), 2046u - 4);
  EXPECT_EQ(Decode(std::string(63, 'h') + "\nx")->from.size(), 63u);
  EXPECT_EQ(Decode(std::string(64, 'h') + "\nx")->from.size(), 62u);
  EXPECT_EQ(Decode(std::string(500, 'h') + "\nx")->from.size(), 62u);
  EXPECT_FALSE(Decode(std::string(2046, 'h') + "\nx"));  // the line feed lies beyond what is read
}

TEST(TransferProtocol, SingleByteCodePagePeersAreUnderstood) {
  const auto n = Decode("B\xDCRO\nGr\xFC\xDF" "e");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->from, "BÜRO");
  EXPECT_EQ(n->text, "Grüße");
}

TEST(TransferProtocol, RecipientsAndHosts) {
  EXPECT_EQ(HostOf("PC7 (Anna)"), "PC7");
  EXPECT_EQ(HostOf("\"my laptop\" at home"), "my laptop");
  EXPECT_EQ(HostOf("10.0.0.7"), "10.0.0.7");
  EXPECT_EQ(HostOf(" lead"), " lead");  // an empty host takes the whole text
  EXPECT_EQ(SplitRecipients("a; b ,,c"), (std::vector<std::string>{"a", "b", "c"}));
  const auto r = BuildRecipients({"PC7 (Anna)", "server"}, "pc7; other");
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], (std::pair<std::string, std::string>{"PC7", "PC7 (Anna)"}));
  EXPECT_EQ(r[2].first, "other");
  EXPECT_EQ(PortFromText("24837"), 24837);
  EXPECT_EQ(PortFromText("30000abc"), 30000);
  EXPECT_EQ(PortFromText("abc"), 0);
  EXPECT_EQ(PortFromText("99999"), 0);
}

// A cut through the last character of a field or of the message must not
// turn the rest into Windows-1252, and bare line feeds become note lines.
TEST(TransferProtocol, CutsFallBetweenCharactersAndLinesEndInCrLf) {
  std::string header = "x";
  for (int i = 0; i < 40; ++i) header += "\xC3\x84";  // Ä: the cut at 62 bytes falls inside one
  const auto n = Decode(header + "\nbody");
  ASSERT_TRUE(n);
  std::string expected = "x";
  for (int i = 0; i < 30; ++i) expected += "\xC3\x84";
  EXPECT_EQ(n->from, expected);

  std::string text;
  for (int i = 0; i < 1100; ++i) text += "\xC3\xA9";  // é: the message ends inside one
  const auto long_ = Decode("PC\n" + text);
  ASSERT_TRUE(long_);
  EXPECT_EQ(long_->text, text.substr(0, 2042));

  // Nothing but the start of a character before the limit: no note.
  EXPECT_FALSE(Decode(std::string(2044, 'h') + "\n\xC3\xA9"));

  const auto knotes = Decode("Shopping (anna)\nmilk\nbread\rtea\r\n");
  ASSERT_TRUE(knotes);
  EXPECT_EQ(knotes->text, "milk\r\nbread\r\ntea\r\n");
}

// After a partial failure the served names go, whole: "127.0.0.1" served
// must not leave "0" of "127.0.0.10" behind as a host to send to.
TEST(TransferProtocol, AServedRecipientIsRemovedAsAWholeField) {
  EXPECT_EQ(RemoveRecipient("127.0.0.1, 127.0.0.10", "127.0.0.1"), "127.0.0.10");
  EXPECT_EQ(RemoveRecipient("127.0.0.10; 127.0.0.1", "127.0.0.1"), "127.0.0.10");
  EXPECT_EQ(RemoveRecipient("PC7 (Anna), PC8", "PC7 (Anna)"), "PC8");
  EXPECT_EQ(RemoveRecipient("a, a", "a"), "a");
  EXPECT_EQ(RemoveRecipient("b", "a"), "b");
}

TEST(TransferProtocol, WhoMayDropNotes) {
  const auto ip = [](const char* s) { return ParseIpv4Net(s)->address; };
  EXPECT_EQ(ip("192.168.1.7"), 0xC0A80107u);
  const auto net = ParseIpv4Net(" 10.1.0.0/16 ");
  ASSERT_TRUE(net);
  EXPECT_TRUE(net->Contains(ip("10.1.200.3")));
  EXPECT_FALSE(net->Contains(ip("10.2.0.1")));
  EXPECT_TRUE(ParseIpv4Net("0.0.0.0/0")->Contains(ip("8.8.8.8")));
  for (const char* bad : {"", "pc7", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4/33", "1.2.3.4/", "1..2.3", "1.2.3.4 x"})
    EXPECT_FALSE(ParseIpv4Net(bad)) << bad;

  const std::vector<Ipv4Net> local = {*ParseIpv4Net("192.168.1.0/24")};
  const std::vector<Ipv4Net> listed = {*ParseIpv4Net("10.0.0.5")};
  EXPECT_TRUE(PeerAccepted(AcceptFrom::kAny, ip("8.8.8.8"), local, listed));
  EXPECT_TRUE(PeerAccepted(AcceptFrom::kThisNetwork, ip("192.168.1.50"), local, listed));
  EXPECT_FALSE(PeerAccepted(AcceptFrom::kThisNetwork, ip("10.0.0.5"), local, listed));
  EXPECT_TRUE(PeerAccepted(AcceptFrom::kListed, ip("10.0.0.5"), local, listed));
  EXPECT_FALSE(PeerAccepted(AcceptFrom::kListed, ip("192.168.1.50"), local, listed));
  EXPECT_FALSE(PeerAccepted(AcceptFrom::kListed, ip("127.0.0.1"), local, listed));
}

TEST(TransferProtocol, ATitleKeepsTheAddressItCameFrom) {
  EXPECT_EQ(WithPeerAddress("Shopping (anna)", "192.168.1.7"), "Shopping (anna) [192.168.1.7]");
  EXPECT_EQ(HostOf("Shopping (anna) [192.168.1.7]"), "192.168.1.7");
  // Within 63 bytes: the title gives way, cut between characters, the address stays whole.
  const std::string title = std::string(40, 'x') + "ÄÄÄÄÄÄÄÄÄÄ";
  const std::string kept = WithPeerAddress(title, "192.168.100.200");
  EXPECT_LE(kept.size(), 63u);
  EXPECT_EQ(kept.substr(kept.size() - 18), " [192.168.100.200]");
  EXPECT_TRUE(IsValidUtf8(kept.substr(0, kept.size() - 18)));
  EXPECT_EQ(HostOf(kept), "192.168.100.200");
  EXPECT_EQ(HostOf("PC [x"), "PC");  // no closing bracket: no address
}
