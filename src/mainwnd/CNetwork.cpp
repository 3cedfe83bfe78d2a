#include "mainwnd/CNetwork.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <algorithm>

#include "app/Ids.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "controls/UiText.h"
#include "controls/CModal.h"
#include "mainwnd/CMainWindow.h"
#include "mainwnd/CNoteCommands.h"
#include "notes/NoteText.h"
#include "net/CNoteServer.h"
#include "net/CSendToDialog.h"
#include "notewnd/CNoteWnd.h"

namespace quillet {

namespace {
void ApplyAcceptRule(CNoteServer& server, const CSettings& s) {
  const auto rule = static_cast<AcceptFrom>(std::clamp(s.Int("NetAccept"), 0, 2));
  std::vector<Ipv4Net> local, listed;
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    if (!(iface.flags() & QNetworkInterface::IsUp)) continue;
    for (const QNetworkAddressEntry& e : iface.addressEntries()) {
      bool ok = false;
      const uint32_t address = e.ip().toIPv4Address(&ok);
      if (ok) local.push_back({address, e.netmask().toIPv4Address()});
    }
  }
  std::vector<QString> names;
  for (const std::string& entry : SplitRecipients(s.String("NetAcceptList"))) {
    if (const auto net = ParseIpv4Net(entry))
      listed.push_back(*net);
    else
      names.push_back(FromLocal(entry));
  }
  server.SetAcceptRule(rule, std::move(local), std::move(listed));
  if (rule == AcceptFrom::kListed)
    for (const QString& name : names) server.AllowHost(name);
}
}  // namespace

CNetwork::CNetwork(CMainWindow& main) : m_main(main) {}

CNetwork::~CNetwork() {
  for (const auto& [id, lookup] : m_peerLookups) QHostInfo::abortHostLookup(id);
}

void CNetwork::Close() {
  if (m_server) m_server->Close();
}

void CNetwork::StartListening() {
  if (m_server) m_server->Close();
  CSettings& s = AppSettings();
  if (!s.Flag("NetEnable")) return;
  // A note that cannot be kept is not taken: the sender is told it was not delivered.
  if (m_main.HasFlag(CMainWindow::kReadOnly)) return;
  const auto port = PortFromText(s.String("NetPort"));
  if (!m_main.HasFlag(CMainWindow::kNoSockets)) {
    if (!m_server) {
      m_server = std::make_unique<CNoteServer>();
      connect(m_server.get(), &CNoteServer::NoteReceived, this, [this](const ReceivedNote& n) { ReceiveNote(n); });
    }
    ApplyAcceptRule(*m_server, s);
    if (m_server->Listen(port)) return;
  }
  // Networking stays off, also at later starts, until the user turns it on again.
  s.WriteInt("Settings", "NetEnable", 0);
  CBusyGuard busy(m_main);
  CMessageBox::Show(nullptr, FromLocal(FormatUIString(LoadUIString(Str::PortCannotBeOpened), {std::to_string(port)})));
}

CNoteWnd* CNetwork::ReceiveNote(const ReceivedNote& received) {
  if (m_main.HasFlag(CMainWindow::kReadOnly) || received.text.empty() || received.from.empty()) return nullptr;
  const CSettings& s = AppSettings();
  const bool onTop = s.Flag("NetOnTop");
  if (!onTop) m_main.activateWindow();
  // The note is made whole before its window is shown, once: a window
  // shown and then changed costs the X server and the window manager dearly
  // when notes come in quick succession.
  const NotePoint p = m_main.GetNewNotePosition();
  CNote n;
  n.Rect = {p.x, p.y, 10, 10};
  n.SetText(CapNoteText(received.text));
  const int netLayout = s.Int("NetLayout");
  m_main.Commands().ApplyLayout(n, ReadLayout(s, netLayout > 0 ? netLayout : 0));
  if (const int folder = s.Int("NetFolder"); folder > 0) {
    const std::vector<std::string> folders = m_main.FolderList();
    if (folder <= static_cast<int>(folders.size())) n.SetFolder(folders[static_cast<std::size_t>(folder - 1)]);
  }
  n.SetFlag(kFlagOnTop, onTop);
  n.SetReceivedFrom(received.from);
  n.Modified = DateTime::Now();
  n.ReceivedOn = n.Modified;
  const QRect r = m_main.NewNoteRect(n, p);
  n.Rect = {r.x(), r.y(), r.width(), r.height()};
  m_main.SetNextVisible(false);
  CNote* created = m_main.Store().CreateNote(std::move(n));
  m_main.SetNextVisible(true);
  if (!created) return nullptr;
  CNoteWnd* w = m_main.WindowOf(*created);
  m_main.SaveNote(created->Index, true);
  m_main.ClearSelection();
  if (!onTop) w->SetSelected(true);
  w->show();
  RecordPeerAddress(*w, received);
  switch (s.Int("NetAudio")) {
    case 1: CSound::Beep(); break;
    case 2: m_netSound.PlayWave(FromLocal(s.String("NetWave")), false); break;
    default: break;
  }
  Q_EMIT m_main.NotesChanged();
  return w;
}

void CNetwork::RecordPeerAddress(CNoteWnd& w, const ReceivedNote& received) {
  const QString host = FromLocal(HostOf(received.from));
  if (received.peer.empty() || host == FromLocal(received.peer)) return;
  // A header that no name lookup turns into an address is a title: a reply
  // needs the address the note came from.
  // Looked up through a slot, with what the answer needs kept here: a
  // lookup still running when the program ends then leaves nothing behind.
  const int id = QHostInfo::lookupHost(host, this, SLOT(PeerLookedUp(QHostInfo)));
  m_peerLookups[id] = {QPointer<CNoteWnd>(&w), received};
}

void CNetwork::PeerLookedUp(const QHostInfo& info) {
  const auto it = m_peerLookups.find(info.lookupId());
  if (it == m_peerLookups.end()) return;
  const auto [wnd, received] = std::move(it->second);
  m_peerLookups.erase(it);
  if (info.error() == QHostInfo::NoError && !info.addresses().isEmpty()) return;
  for (const auto& [note, window] : m_main.Windows()) {
    if (window.get() != wnd || note->ReceivedFrom() != received.from) continue;
    window->Note().SetReceivedFrom(WithPeerAddress(received.from, received.peer));
    m_main.SaveNote(note->Index, false);
    return;
  }
}

void CNetwork::SendTo(const QString& text, const QString& recipients) {
  CBusyGuard busy(m_main);
  CSendToDialog dialog;
  dialog.SetText(text);
  dialog.SetRecipients(recipients);
  CModal::Run(dialog);
}

}  // namespace quillet
