#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QTcpSocket;
class QTimer;

namespace quillet {

// Delivers one message to one computer on the event loop: connect, write,
// close; never blocks. The result arrives through the callback: true when
// the bytes were written and the connection closed without an error.
class CNoteSender : public QObject {
  Q_OBJECT
 public:
  using Done = std::function<void(bool delivered)>;
  CNoteSender(const QString& host, uint16_t port, const QByteArray& message, Done done, QObject* parent = nullptr);
  void Start();
  void Cancel();
  static void SetTimeout(int ms);

 private:
  void Complete(bool ok);

  QString m_host;
  uint16_t m_port;
  QByteArray m_message;
  Done m_done;
  QTcpSocket* m_socket = nullptr;
  QTimer* m_timer = nullptr;
  bool m_finished = false;
};

}  // namespace quillet
