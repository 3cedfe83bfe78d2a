#include "mainwnd/CTrayIcon.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

#include "app/Paths.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "controls/Platform.h"
#include "app/Ids.h"

namespace quillet {

CTrayLauncher::CTrayLauncher()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle(QStringLiteral("Quillet"));
  setFixedSize(36, 36);
  setToolTip(QStringLiteral("Quillet"));
}

void CTrayLauncher::PlaceAtCorner() {
  const QRect work = WorkArea();
  move(work.right() - width() - 4, work.bottom() - height() - 4);
}

void CTrayLauncher::SetIcon(const QIcon& icon) {
  m_icon = icon;
  update();
}

void CTrayLauncher::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  m_icon.paint(&p, rect().adjusted(4, 4, -4, -4));
}

void CTrayLauncher::mousePressEvent(QMouseEvent* e) {
  Q_EMIT Pressed();
  e->accept();
}

void CTrayLauncher::mouseReleaseEvent(QMouseEvent* e) {
  // Either button opens the menu: the launcher is the only handle.
  if (e->button() == Qt::RightButton || e->button() == Qt::LeftButton)
    Q_EMIT MenuRequested(e->globalPosition().toPoint());
}

void CTrayLauncher::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) Q_EMIT DoubleClicked();
}

CTrayIcon::CTrayIcon() {
  m_icon = QuilletIcon();
  m_tip = QStringLiteral("Quillet");
  m_watch.setInterval(3000);
  connect(&m_watch, &QTimer::timeout, this, &CTrayIcon::Watch);
}

CTrayIcon::~CTrayIcon() { Remove(); }

bool CTrayIcon::Add() {
  // A tray host often starts along with the program; give it a moment.
  QElapsedTimer waited;
  waited.start();
  while (!QSystemTrayIcon::isSystemTrayAvailable() && waited.elapsed() < 1500 && QGuiApplication::platformName() == QLatin1String("xcb"))
    QThread::msleep(100);
  while (!QSystemTrayIcon::isSystemTrayAvailable()) {
    // Nobody can retry in a session without a user.
    if (CMessageBox::IsNonInteractive() || CMessageBox::IsEnding()) break;
    const auto answer = CMessageBox::Show(nullptr, FromLocal(LoadUIString(Str::CannotAddTrayIcon)),
                                          QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                                          QMessageBox::Retry, QMessageBox::Warning);
    if (answer == QMessageBox::Abort) return false;
    if (answer == QMessageBox::Ignore) break;
  }
  m_added = true;
  UseTray(QSystemTrayIcon::isSystemTrayAvailable());
  m_watch.start();
  return true;
}

void CTrayIcon::Remove() {
  m_watch.stop();
  m_added = false;
  if (m_tray) {
    m_tray->hide();
    delete m_tray;
    m_tray = nullptr;
  }
  delete m_launcher;
}

void CTrayIcon::UseTray(bool tray) {
  if (tray) {
    if (!m_tray) {
      m_tray = new QSystemTrayIcon(m_icon, this);
      m_tray->setToolTip(m_tip);
      connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        switch (r) {
          case QSystemTrayIcon::Context: Q_EMIT MenuRequested(QCursor::pos()); break;
          case QSystemTrayIcon::DoubleClick: Q_EMIT DoubleClicked(); break;
          default: Q_EMIT Pressed(); break;
        }
      });
    }
    m_tray->show();
    if (m_launcher) m_launcher->hide();
  } else {
    if (m_tray) m_tray->hide();
    if (!m_launcher) {
      m_launcher = new CTrayLauncher;
      m_launcher->SetIcon(m_icon);
      connect(m_launcher, &CTrayLauncher::MenuRequested, this, &CTrayIcon::MenuRequested);
      connect(m_launcher, &CTrayLauncher::DoubleClicked, this, &CTrayIcon::DoubleClicked);
      connect(m_launcher, &CTrayLauncher::Pressed, this, &CTrayIcon::Pressed);
    }
    m_launcher->PlaceAtCorner();
    m_launcher->show();
  }
}

void CTrayIcon::Watch() {
  // The tray host may come, go and come back (a restarted panel).
  if (!m_added) return;
  const bool available = QSystemTrayIcon::isSystemTrayAvailable();
  if (available != InTray()) UseTray(available);
}

void CTrayIcon::SetIcon(const QIcon& icon) {
  m_icon = icon;
  if (m_tray) m_tray->setIcon(icon);
  if (m_launcher) m_launcher->SetIcon(icon);
}

void CTrayIcon::SetToolTip(const QString& tip) {
  m_tip = tip;
  if (m_tray) m_tray->setToolTip(tip);
  if (m_launcher) m_launcher->setToolTip(tip);
}

}  // namespace quillet
