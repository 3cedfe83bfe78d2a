#pragma once
#include <QAbstractNativeEventFilter>
#include <QObject>
#include <map>
#include <memory>

namespace quillet {

// Where hotkeys are grabbed: the X server, or nowhere.
class IHotkeyBackend {
 public:
  virtual ~IHotkeyBackend() = default;
  virtual bool Available() const = 0;
  // False when another program holds the combination.
  virtual bool Register(int id, int virtualKey, int modifiers) = 0;
  virtual void Unregister(int id) = 0;
};

// System-wide key combinations behind one interface; a press of one while
// it is registered is reported with its id.
class CGlobalHotkeys : public QObject {
  Q_OBJECT
 public:
  CGlobalHotkeys();
  ~CGlobalHotkeys() override;
  // Tests put a backend of their own in.
  void SetBackend(std::unique_ptr<IHotkeyBackend> backend);
  bool Available() const { return m_backend->Available(); }
  bool Register(int id, int virtualKey, int modifiers) { return m_backend->Register(id, virtualKey, modifiers); }
  void Unregister(int id) { m_backend->Unregister(id); }
  static std::unique_ptr<IHotkeyBackend> PlatformBackend(CGlobalHotkeys& owner);

 Q_SIGNALS:
  void Triggered(int id);

 private:
  std::unique_ptr<IHotkeyBackend> m_backend;
};

}  // namespace quillet
