#include "net/CNoteServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace quillet {

CNoteServer::CNoteServer(QObject* parent) : QObject(parent) {
  m_server.setMaxPendingConnections(kMaxConnections);
  // Peers beyond those being served wait in the system's queue; a short
  // queue would make them retry their connection a second later.
  m_server.setListenBacklogSize(256);
  connect(&m_server, &QTcpServer::newConnection, this, &CNoteServer::Accept);
}

CNoteServer::~CNoteServer() { Close(); }

bool CNoteServer::Listen(uint16_t port) {
  Close();
  if (port == 0) return false;
  return m_server.listen(QHostAddress::AnyIPv4, port);
}

void CNoteServer::Close() {
  m_server.close();
  const auto sockets = m_buffers.keys();
  m_buffers.clear();
  for (QTcpSocket* s : sockets) {
    s->abort();
    s->deleteLater();
  }
}

void CNoteServer::Accept() {
  // At the limit, further peers wait in the system's queue until a
  // connection ends; none is dropped while it still counts on delivery.
  while (m_buffers.size() < kMaxConnections) {
    QTcpSocket* socket = m_server.nextPendingConnection();
    if (!socket) break;
    m_buffers.insert(socket, QByteArray());
    socket->setReadBufferSize(static_cast<qint64>(kMaxMessage));
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(m_idleMs);
    // A peer that says nothing for a while loses its connection and its note.
    connect(idle, &QTimer::timeout, socket, [this, socket] { Drop(socket); });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, idle] {
      idle->start(m_idleMs);
      Read(socket);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Finish(socket); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
      if (e == QAbstractSocket::RemoteHostClosedError) return;  // the normal end, seen by `disconnected`
      Drop(socket);
    });
    // A peer that waited its turn may have written and closed already: its
    // signals went out before anyone listened.
    if (socket->bytesAvailable() > 0) Read(socket);
    if (m_buffers.contains(socket) && socket->state() != QAbstractSocket::ConnectedState) Finish(socket);
  }
  if (m_buffers.size() >= kMaxConnections)
    m_server.pauseAccepting();
  else
    m_server.resumeAccepting();
}

void CNoteServer::Drop(QTcpSocket* socket) {
  if (!m_buffers.remove(socket)) return;
  socket->abort();
  socket->deleteLater();
  Accept();
}

void CNoteServer::Read(QTcpSocket* socket) {
  auto it = m_buffers.find(socket);
  if (it == m_buffers.end()) return;
  const qint64 room = static_cast<qint64>(kMaxMessage) - it->size();
  if (room > 0) it->append(socket->read(room));
  // What lies beyond a message is never kept.
  if (it->size() >= static_cast<qsizetype>(kMaxMessage)) {
    socket->readAll();
    Finish(socket);
  }
}

void CNoteServer::Finish(QTcpSocket* socket) {
  auto it = m_buffers.find(socket);
  if (it == m_buffers.end()) return;
  if (socket->bytesAvailable() > 0 && it->size() < static_cast<qsizetype>(kMaxMessage))
    it->append(socket->read(static_cast<qint64>(kMaxMessage) - it->size()));
  const QByteArray message = *it;
  m_buffers.erase(it);
  socket->abort();
  socket->deleteLater();
  // Room for a peer that waits.
  QTimer::singleShot(0, this, &CNoteServer::Accept);
  if (const auto note = DecodeMessage(std::string_view(message.constData(), static_cast<std::size_t>(message.size()))))
    Q_EMIT NoteReceived(*note);
}

}  // namespace quillet
