#pragma once
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "net/TransferProtocol.h"

class QHostInfo;
class QTcpSocket;

namespace quillet {

// Listens for note messages. Connections are served side by side. Each one
// has a fixed time from its accept to say what it has to say, whatever it
// sends meanwhile; when the time is up, what arrived is read as a message.
// One computer may hold only part of the connections, and when all are
// taken a newcomer ends the oldest of the computer holding the most, so a
// silent or dripping crowd from one address delays nobody else. Each
// connection reads at most one message's worth of bytes, which keeps the
// memory bounded. Notes from one computer are handed on in the order their
// connections were accepted.
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
  // Connections still being read.
  int OpenConnections() const { return m_open; }

  void SetDeadline(int ms) { m_deadlineMs = ms; }
  // Peers the rule refuses are closed at once, and nothing is shown.
  void SetAcceptRule(AcceptFrom rule, std::vector<Ipv4Net> localNets, std::vector<Ipv4Net> listed) {
    m_rule = rule;
    m_localNets = std::move(localNets);
    m_listed = std::move(listed);
  }
  // A listed computer by name: its notes are taken once the name is looked
  // up, which does not wait.
  void AllowHost(const QString& name);
  static constexpr int kMaxConnections = 512;
  static constexpr int kMaxPerPeer = kMaxConnections / 2;

 Q_SIGNALS:
  void NoteReceived(const quillet::ReceivedNote& note);

 private:
  Q_SLOT void HostLookedUp(const QHostInfo& info);

  struct Connection {
    QTcpSocket* socket = nullptr;  // null once finished
    QString peer;
    QByteArray bytes;
    std::optional<ReceivedNote> note;
  };

  void Accept();
  void Read(quint64 id);
  // Ends a connection; with `decode`, what arrived is read as a message.
  void Finish(quint64 id, bool decode);
  // Ends the oldest open connection of `peer`, reading what it sent.
  void EndOldest(const QString& peer);
  QString BusiestPeer() const;
  int OpenOf(const QString& peer) const;
  void Release(const QString& peer);

  QTcpServer m_server;
  std::unordered_map<quint64, Connection> m_connections;
  std::map<QString, std::deque<quint64>> m_byPeer;  // in accept order
  std::map<QString, int> m_openByPeer;
  std::vector<QString> m_toRelease;
  bool m_releasing = false;
  quint64 m_nextId = 1;
  int m_open = 0;
  int m_deadlineMs = 10000;
  AcceptFrom m_rule = AcceptFrom::kAny;
  std::vector<Ipv4Net> m_localNets, m_listed;
  std::vector<int> m_lookups;  // running, aborted with the server
};

}  // namespace quillet
