#include "mainwnd/CGlobalHotkeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <vector>

#include "mainwnd/Hotkeys.h"

#ifdef QUILLET_HAVE_XCB_KEYSYMS
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#endif

namespace quillet {

namespace {

class NoBackend final : public IHotkeyBackend {
 public:
  bool Available() const override { return false; }
  bool Register(int, int, int) override { return false; }
  void Unregister(int) override {}
};

#ifdef QUILLET_HAVE_XCB_KEYSYMS
// Grabs each combination on the root window four times, with and without
// NumLock and CapsLock, and reports its presses through a native event filter.
class X11Backend final : public IHotkeyBackend, public QAbstractNativeEventFilter {
 public:
  X11Backend(CGlobalHotkeys& owner, xcb_connection_t* c) : m_owner(owner), m_c(c) {
    m_root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    m_symbols = xcb_key_symbols_alloc(c);
    qApp->installNativeEventFilter(this);
  }
  ~X11Backend() override {
    qApp->removeNativeEventFilter(this);
    for (const auto& [id, grab] : m_grabs) Ungrab(grab);
    xcb_flush(m_c);
    xcb_key_symbols_free(m_symbols);
  }
  bool Available() const override { return true; }

  bool Register(int id, int virtualKey, int modifiers) override {
    Unregister(id);
    const uint32_t sym = KeysymOfVirtualKey(virtualKey);
    xcb_keycode_t* codes = sym ? xcb_key_symbols_get_keycode(m_symbols, sym) : nullptr;
    if (!codes || codes[0] == XCB_NO_SYMBOL) {
      free(codes);
      return false;
    }
    Grab g{codes[0], static_cast<uint16_t>(((modifiers & kHotShift) ? XCB_MOD_MASK_SHIFT : 0) |
                                           ((modifiers & kHotCtrl) ? XCB_MOD_MASK_CONTROL : 0) |
                                           ((modifiers & kHotAlt) ? XCB_MOD_MASK_1 : 0) |
                                           ((modifiers & kHotWin) ? XCB_MOD_MASK_4 : 0))};
    free(codes);
    bool ok = true;
    for (uint16_t extra : kLockVariants) {
      xcb_generic_error_t* err = xcb_request_check(
          m_c, xcb_grab_key_checked(m_c, 1, m_root, g.mods | extra, g.code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
      if (err) {
        ok = false;  // another program holds it
        free(err);
      }
    }
    if (!ok) {
      Ungrab(g);
      xcb_flush(m_c);
      return false;
    }
    m_grabs[id] = g;
    xcb_flush(m_c);
    return true;
  }

  void Unregister(int id) override {
    const auto it = m_grabs.find(id);
    if (it == m_grabs.end()) return;
    Ungrab(it->second);
    m_grabs.erase(it);
    xcb_flush(m_c);
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    auto* ev = static_cast<xcb_generic_event_t*>(message);
    if ((ev->response_type & ~0x80) != XCB_KEY_PRESS) return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(ev);
    const uint16_t state = key->state & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
    for (const auto& [id, g] : m_grabs)
      if (g.code == key->detail && g.mods == (state & 0xFF)) {
        const int hit = id;
        QMetaObject::invokeMethod(&m_owner, [this, hit] { Q_EMIT m_owner.Triggered(hit); }, Qt::QueuedConnection);
        return true;
      }
    return false;
  }

 private:
  struct Grab {
    xcb_keycode_t code;
    uint16_t mods;
  };
  static constexpr uint16_t kLockVariants[4] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
  void Ungrab(const Grab& g) {
    for (uint16_t extra : kLockVariants) xcb_ungrab_key(m_c, g.code, m_root, g.mods | extra);
  }

  CGlobalHotkeys& m_owner;
  xcb_connection_t* m_c;
  xcb_window_t m_root;
  xcb_key_symbols_t* m_symbols;
  std::map<int, Grab> m_grabs;
};
#endif

}  // namespace

std::unique_ptr<IHotkeyBackend> CGlobalHotkeys::PlatformBackend(CGlobalHotkeys& owner) {
#ifdef QUILLET_HAVE_XCB_KEYSYMS
  if (auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
    if (xcb_connection_t* c = x11->connection()) return std::make_unique<X11Backend>(owner, c);
#else
  (void)owner;
#endif
  return std::make_unique<NoBackend>();
}

CGlobalHotkeys::CGlobalHotkeys() { m_backend = PlatformBackend(*this); }
CGlobalHotkeys::~CGlobalHotkeys() = default;

void CGlobalHotkeys::SetBackend(std::unique_ptr<IHotkeyBackend> backend) { m_backend = std::move(backend); }

}  // namespace quillet
