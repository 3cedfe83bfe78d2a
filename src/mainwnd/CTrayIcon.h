#pragma once
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include "app/Ids.h"

namespace quillet {

// Without a tray host the program's way in is this small button at the
// corner of the desktop: the same menu, the same double click.
class CTrayLauncher : public QWidget {
  Q_OBJECT
 public:
  CTrayLauncher();
  void PlaceAtCorner();
  void SetIcon(const QIcon& icon);

 Q_SIGNALS:
  void MenuRequested(QPoint globalPos);
  void DoubleClicked();
  void Pressed();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  QIcon m_icon;
};

// The icon in the notification area, and the launcher where there is none.
class CTrayIcon : public QObject {
  Q_OBJECT
 public:
  CTrayIcon();
  ~CTrayIcon() override;

  // Shows the icon: in the tray when a tray host is there, else the launcher.
  // Asks with message Str::CannotAddTrayIcon (Abort, Retry, Ignore) when no tray host is found;
  // false when the user gives up.
  bool Add();
  void Remove();
  void SetIcon(const QIcon& icon);
  void SetToolTip(const QString& tip);

  bool InTray() const { return m_tray && m_tray->isVisible(); }
  CTrayLauncher* Launcher() const { return m_launcher; }

 Q_SIGNALS:
  void MenuRequested(QPoint globalPos);
  void DoubleClicked();
  void Pressed();

 private:
  void UseTray(bool tray);
  void Watch();

  QSystemTrayIcon* m_tray = nullptr;
  QPointer<CTrayLauncher> m_launcher;
  QTimer m_watch;
  QIcon m_icon;
  QString m_tip;
  bool m_added = false;
};

}  // namespace quillet
