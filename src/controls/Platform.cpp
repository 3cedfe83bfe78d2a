#include "controls/Platform.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#ifdef QUILLET_HAVE_XCB
#include <xcb/xcb.h>

#include <array>
#include <cstring>
#endif

namespace quillet {

#ifdef QUILLET_HAVE_XCB
namespace {
xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  free(r);
  return a;
}

void SendToRoot(xcb_connection_t* c, xcb_window_t root, xcb_window_t w, xcb_atom_t type, std::array<uint32_t, 5> data) {
  xcb_client_message_event_t e{};
  e.response_type = XCB_CLIENT_MESSAGE;
  e.format = 32;
  e.window = w;
  e.type = type;
  std::copy(data.begin(), data.end(), e.data.data32);
  xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&e));
}
}  // namespace
#endif

bool IsX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

bool HasCompositor() {
#ifdef QUILLET_HAVE_XCB
  if (!IsX11()) return false;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return false;
  xcb_connection_t* c = x11->connection();
  const xcb_atom_t atom = Atom(c, "_NET_WM_CM_S0");
  if (atom == XCB_ATOM_NONE) return false;
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom), nullptr);
  const bool has = owner && owner->owner != XCB_NONE;
  free(owner);
  return has;
#else
  return false;
#endif
}

QPixmap QuilletIconPixmap(int size, int variant) {
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
  return pm;
}

QIcon QuilletIcon(int variant) {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(QuilletIconPixmap(size, variant));
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


void SetOnAllWorkspaces(QWidget* window, bool on) {
#ifdef QUILLET_HAVE_XCB
  if (!IsX11() || !window) return;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return;
  xcb_connection_t* c = x11->connection();
  const auto w = static_cast<xcb_window_t>(window->winId());
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  // Looked up once: a round trip to the server each.
  static const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
  static const xcb_atom_t sticky = Atom(c, "_NET_WM_STATE_STICKY");
  static const xcb_atom_t desktop = Atom(c, "_NET_WM_DESKTOP");
  if (!screen || state == XCB_ATOM_NONE || sticky == XCB_ATOM_NONE || desktop == XCB_ATOM_NONE) return;
  constexpr uint32_t kAllDesktops = 0xFFFFFFFFu;
  if (window->testAttribute(Qt::WA_Mapped)) {
    // A mapped window asks the window manager.
    uint32_t current = 0;
    static const xcb_atom_t currentAtom = Atom(c, "_NET_CURRENT_DESKTOP");
    if (xcb_get_property_reply_t* r = on ? nullptr :
            xcb_get_property_reply(c, xcb_get_property(c, 0, screen->root, currentAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr)) {
      if (xcb_get_property_value_length(r) == 4) current = *static_cast<uint32_t*>(xcb_get_property_value(r));
      free(r);
    }
    SendToRoot(c, screen->root, w, desktop, {on ? kAllDesktops : current, 1, 0, 0, 0});
    SendToRoot(c, screen->root, w, state, {on ? 1u : 0u, sticky, 0, 1, 0});
  } else {
    // One about to be mapped says it in its properties; the toolkit keeps
    // the state atoms it finds when it adds its own. Off needs nothing: a
    // window goes to the current workspace by default.
    if (!on) return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, desktop, XCB_ATOM_CARDINAL, 32, 1, &kAllDesktops);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, w, state, XCB_ATOM_ATOM, 32, 1, &sticky);
  }
  xcb_flush(c);
#else
  (void)window;
  (void)on;
#endif
}

QPoint FrameCorner(QWidget* window) {
  const QPoint known = window->frameGeometry().topLeft();
#ifdef QUILLET_HAVE_XCB
  if (!IsX11() || !window->testAttribute(Qt::WA_WState_Created)) return known;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return known;
  xcb_connection_t* c = x11->connection();
  const auto w = static_cast<xcb_window_t>(window->winId());
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  static const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
  if (!screen) return known;
  xcb_translate_coordinates_reply_t* at =
      xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, screen->root, 0, 0), nullptr);
  if (!at) return known;
  QPoint corner(at->dst_x, at->dst_y);
  free(at);
  // Left, right, top, bottom: what the window manager put around the window.
  if (xcb_get_property_reply_t* r = extents == XCB_ATOM_NONE ? nullptr :
          xcb_get_property_reply(c, xcb_get_property(c, 0, w, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr)) {
    if (xcb_get_property_value_length(r) == 16) {
      const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r));
      corner -= QPoint(static_cast<int>(v[0]), static_cast<int>(v[2]));
    }
    free(r);
  }
  return corner / window->devicePixelRatio();
#else
  return known;
#endif
}

}  // namespace quillet
