#pragma once
#include <QHash>
#include <QObject>
#include <QTcpServer>

#include "net/TransferProtocol.h"

class QTcpSocket;
class QTimer;

namespace quillet {

// Listens for note messages. Connections are served side by side, at most
// kMaxConnections at once (the rest wait to be accepted): each reads at most
// one message's worth of bytes, and one that falls silent is dropped after a
// while, so no peer can hold up another or fill the memory.
class CNoteServer : public QObject {
  Q_OBJECT
 public:
  explicit CNoteServer(QObject* parent = nullptr);
  ~CNoteServer() override;

  // Listens on every local IPv4 address; false when the port cannot be had.
  bool Listen(uint16_t port);
  void Close();
  bool IsListening() const { return m_server.isListening(); }
  uint16_t Port() const { return m_server.serverPort(); }
  int OpenConnections() const { return static_cast<int>(m_buffers.size()); }

  void SetIdleTimeout(int ms) { m_idleMs = ms; }
  static constexpr int kMaxConnections = 64;

 Q_SIGNALS:
  void NoteReceived(const quillet::ReceivedNote& note);

 private:
  void Accept();
  void Read(QTcpSocket* socket);
  void Finish(QTcpSocket* socket);
  void Drop(QTcpSocket* socket);

  QTcpServer m_server;
  QHash<QTcpSocket*, QByteArray> m_buffers;
  int m_idleMs = 10000;
};

}  // namespace quillet
