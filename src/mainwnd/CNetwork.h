#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <utility>

#include "alarm/CSound.h"
#include "net/TransferProtocol.h"

class QHostInfo;

namespace quillet {

class CMainWindow;
class CNoteServer;
class CNoteWnd;

// Notes over the network: listening for notes from other computers, taking
// them in as notes, naming their senders, and the send-to dialog.
class CNetwork : public QObject {
  Q_OBJECT
 public:
  explicit CNetwork(CMainWindow& main);
  ~CNetwork() override;

  // Listens on the configured port, or stops listening when receiving is off.
  void StartListening();
  void Close();
  CNoteServer* Server() const { return m_server.get(); }
  CNoteWnd* ReceiveNote(const ReceivedNote& received);
  // A note that came over the network, with its sender and time of arrival.
  void RecordPeerAddress(CNoteWnd& w, const ReceivedNote& received);
  // The send-to dialog with this text and these recipients.
  void SendTo(const QString& text, const QString& recipients);

 private:
  Q_SLOT void PeerLookedUp(const QHostInfo& info);

  CMainWindow& m_main;
  std::unique_ptr<CNoteServer> m_server;
  std::map<int, std::pair<QPointer<CNoteWnd>, ReceivedNote>> m_peerLookups;  // by lookup id
  CSound m_netSound;
};

}  // namespace quillet
