#include "net/CNoteServer.h"

#include <QHostInfo>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace quillet {

CNoteServer::CNoteServer(QObject* parent) : QObject(parent) {
  m_server.setMaxPendingConnections(kMaxConnections);
  // Peers that come faster than they are accepted wait in the system's
  // queue; a short queue would make them retry their connection later.
  m_server.setListenBacklogSize(256);
  connect(&m_server, &QTcpServer::newConnection, this, &CNoteServer::Accept);
}

CNoteServer::~CNoteServer() {
  for (const int id : m_lookups) QHostInfo::abortHostLookup(id);
  Close();
}

void CNoteServer::AllowHost(const QString& name) {
  // Through a slot: a lookup still running when the program ends leaves nothing behind.
  m_lookups.push_back(QHostInfo::lookupHost(name, this, SLOT(HostLookedUp(QHostInfo))));
}

void CNoteServer::HostLookedUp(const QHostInfo& info) {
  std::erase(m_lookups, info.lookupId());
  for (const QHostAddress& a : info.addresses()) {
    bool ok = false;
    const uint32_t address = a.toIPv4Address(&ok);
    if (ok) m_listed.push_back({address, 0xFFFFFFFFu});
  }
}

bool CNoteServer::Listen(uint16_t port) {
  Close();
  if (port == 0) return false;
  return m_server.listen(QHostAddress::AnyIPv4, port);
}

void CNoteServer::Close() {
  m_server.close();
  auto connections = std::move(m_connections);
  m_connections.clear();
  m_byPeer.clear();
  m_openByPeer.clear();
  m_toRelease.clear();
  m_open = 0;
  for (auto& [id, c] : connections) {
    if (!c.socket) continue;
    c.socket->abort();
    c.socket->deleteLater();
  }
}

int CNoteServer::OpenOf(const QString& peer) const {
  const auto it = m_openByPeer.find(peer);
  return it == m_openByPeer.end() ? 0 : it->second;
}

QString CNoteServer::BusiestPeer() const {
  const auto it = std::max_element(m_openByPeer.begin(), m_openByPeer.end(),
                                   [](const auto& a, const auto& b) { return a.second < b.second; });
  return it == m_openByPeer.end() ? QString() : it->first;
}

void CNoteServer::EndOldest(const QString& peer) {
  const auto queue = m_byPeer.find(peer);
  if (queue == m_byPeer.end()) return;
  for (const quint64 id : queue->second) {
    const auto it = m_connections.find(id);
    if (it != m_connections.end() && it->second.socket) {
      Finish(id, true);
      return;
    }
  }
}

void CNoteServer::Accept() {
  while (QTcpSocket* socket = m_server.nextPendingConnection()) {
    bool ipv4 = false;
    const uint32_t address = socket->peerAddress().toIPv4Address(&ipv4);
    if (!ipv4 || !PeerAccepted(m_rule, address, m_localNets, m_listed)) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    const QString peer = socket->peerAddress().toString();
    // Room for the newcomer: a computer gives up its own oldest connection
    // at its share, and the busiest one does when every slot is taken.
    if (OpenOf(peer) >= kMaxPerPeer) EndOldest(peer);
    if (m_open >= kMaxConnections) EndOldest(BusiestPeer());

    const quint64 id = m_nextId++;
    m_connections[id] = Connection{socket, peer, {}, {}};
    m_byPeer[peer].push_back(id);
    ++m_openByPeer[peer];
    ++m_open;
    socket->setReadBufferSize(static_cast<qint64>(kMaxMessage));
    // The time runs from the accept and is not renewed by what arrives, so
    // a peer that drips a byte now and then cannot hold its slot.
    auto* deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, id] { Finish(id, true); });
    deadline->start(m_deadlineMs);
    connect(socket, &QTcpSocket::readyRead, this, [this, id] { Read(id); });
    connect(socket, &QTcpSocket::disconnected, this, [this, id] { Finish(id, true); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, id](QAbstractSocket::SocketError e) {
      if (e == QAbstractSocket::RemoteHostClosedError) return;  // the normal end, seen by `disconnected`
      Finish(id, false);
    });
    // A peer may have written and closed before anyone listened.
    if (socket->bytesAvailable() > 0) Read(id);
    const auto it = m_connections.find(id);
    if (it != m_connections.end() && it->second.socket && socket->state() != QAbstractSocket::ConnectedState)
      Finish(id, true);
  }
}

void CNoteServer::Read(quint64 id) {
  const auto it = m_connections.find(id);
  if (it == m_connections.end() || !it->second.socket) return;
  Connection& c = it->second;
  const qint64 room = static_cast<qint64>(kMaxMessage) - c.bytes.size();
  if (room > 0) c.bytes.append(c.socket->read(room));
  // What lies beyond a message is never kept.
  if (c.bytes.size() >= static_cast<qsizetype>(kMaxMessage)) Finish(id, true);
}

void CNoteServer::Finish(quint64 id, bool decode) {
  const auto it = m_connections.find(id);
  if (it == m_connections.end() || !it->second.socket) return;
  Connection& c = it->second;
  QTcpSocket* socket = std::exchange(c.socket, nullptr);
  if (decode && socket->bytesAvailable() > 0 && c.bytes.size() < static_cast<qsizetype>(kMaxMessage))
    c.bytes.append(socket->read(static_cast<qint64>(kMaxMessage) - c.bytes.size()));
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
  --m_open;
  if (--m_openByPeer[c.peer] == 0) m_openByPeer.erase(c.peer);
  if (decode) c.note = DecodeMessage(std::string_view(c.bytes.constData(), static_cast<std::size_t>(c.bytes.size())));
  if (c.note) c.note->peer = c.peer.toStdString();
  c.bytes = QByteArray();
  Release(c.peer);
}

void CNoteServer::Release(const QString& peer) {
  m_toRelease.push_back(peer);
  // A note handed on may run the event loop, in which further connections
  // end; they are handed on by the loop below, in their order.
  if (m_releasing) return;
  m_releasing = true;
  while (!m_toRelease.empty()) {
    const QString next = m_toRelease.back();
    m_toRelease.pop_back();
    for (;;) {
      const auto queue = m_byPeer.find(next);
      if (queue == m_byPeer.end()) break;
      if (queue->second.empty()) {
        m_byPeer.erase(queue);
        break;
      }
      const auto it = m_connections.find(queue->second.front());
      if (it != m_connections.end() && it->second.socket) break;  // an earlier one is still open
      queue->second.pop_front();
      if (it == m_connections.end()) continue;
      std::optional<ReceivedNote> note = std::move(it->second.note);
      m_connections.erase(it);
      if (!note) continue;
      const QPointer<CNoteServer> alive(this);
      Q_EMIT NoteReceived(*note);
      if (!alive) return;  // closed down by whoever took the note
    }
  }
  m_releasing = false;
}

}  // namespace quillet
