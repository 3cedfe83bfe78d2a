#include "net/CNoteSender.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

namespace quillet {

namespace {
int g_timeoutMs = 10000;
}

void CNoteSender::SetTimeout(int ms) { g_timeoutMs = ms; }

CNoteSender::CNoteSender(const QString& host, uint16_t port, const QByteArray& message, Done done, QObject* parent)
    : QObject(parent), m_host(host), m_port(port), m_message(message), m_done(std::move(done)) {}

void CNoteSender::Start() {
  m_socket = new QTcpSocket(this);
  m_timer = new QTimer(this);
  m_timer->setSingleShot(true);
  connect(m_timer, &QTimer::timeout, this, [this] { Complete(false); });
  connect(m_socket, &QTcpSocket::connected, this, [this] {
    m_socket->write(m_message);
    m_socket->disconnectFromHost();
  });
  connect(m_socket, &QTcpSocket::disconnected, this, [this] { Complete(m_socket->bytesToWrite() == 0); });
  connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
    // The receiver closing after it has read everything is no failure.
    if (e == QAbstractSocket::RemoteHostClosedError && m_socket->bytesToWrite() == 0) return;
    Complete(false);
  });
  m_timer->start(g_timeoutMs);
  // An address is used as it is; a name is looked up first (IPv4 only).
  QHostAddress address;
  if (address.setAddress(m_host) && address.protocol() == QAbstractSocket::IPv4Protocol)
    m_socket->connectToHost(address, m_port);
  else
    m_socket->connectToHost(m_host, m_port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
}

void CNoteSender::Cancel() { Complete(false); }

void CNoteSender::Complete(bool ok) {
  if (m_finished) return;
  m_finished = true;
  m_timer->stop();
  m_socket->abort();
  Done done = std::move(m_done);
  deleteLater();
  if (done) done(ok);
}

}  // namespace quillet
