#include "controls/Platform.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#ifdef QUILLET_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace quillet {

bool IsX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

bool HasCompositor() {
#ifdef QUILLET_HAVE_XCB
  if (!IsX11()) return false;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return false;
  xcb_connection_t* c = x11->connection();
  const QByteArray name = "_NET_WM_CM_S0";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
  if (!atom) return false;
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
  const bool has = owner && owner->owner != XCB_NONE;
  free(owner);
  free(atom);
  return has;
#else
  return false;
#endif
}

QIcon QuilletIcon(int variant) {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor paper = variant == 1 ? QColor(0xFF, 0x90, 0x60) : variant == 2 ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xFF, 0xF0, 0x80);
    QPolygonF sheet({QPointF(s * 0.1, s * 0.08), QPointF(s * 0.9, s * 0.08), QPointF(s * 0.9, s * 0.68),
                     QPointF(s * 0.68, s * 0.92), QPointF(s * 0.1, s * 0.92)});
    p.setPen(QPen(QColor(0x80, 0x70, 0x20), std::max(1.0, s / 16)));
    p.setBrush(paper);
    p.drawPolygon(sheet);
    p.setBrush(paper.darker(130));
    p.drawPolygon(QPolygonF({QPointF(s * 0.9, s * 0.68), QPointF(s * 0.68, s * 0.68), QPointF(s * 0.68, s * 0.92)}));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), std::max(1.0, s / 20)));
    for (qreal y : {0.3, 0.45, 0.6}) p.drawLine(QPointF(s * 0.22, s * y), QPointF(s * 0.78, s * y));
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

QRect WorkArea(const QPoint* at) {
  QScreen* screen = at ? QGuiApplication::screenAt(*at) : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect VirtualScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace quillet
