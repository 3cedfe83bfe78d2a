#pragma once
#include <QDialog>
#include <QPointer>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace quillet {

class CNoteSender;

// Sends a text to the ticked and typed recipients, one after another, and
// keeps the list of known recipients. Nothing here waits on a socket: the
// dialog shows its progress while the event loop delivers.
class CSendToDialog : public QDialog {
  Q_OBJECT
 public:
  enum Status { kNotTested = 0, kReachable = 1, kUnreachable = 2 };

  explicit CSendToDialog(QWidget* parent = nullptr);
  ~CSendToDialog() override;

  void SetText(const QString& text);
  void SetRecipients(const QString& recipients);

  QLineEdit* recipients;
  QListWidget* list;
  QPlainTextEdit* text;
  QPushButton *add, *remove, *up, *down, *refresh, *browse, *ok;
  QLabel* computerName;
  QProgressBar* progress;

  void Add();
  void Delete();
  void Move(int by);
  void Refresh();
  void Browse();
  void accept() override;
  void reject() override;

  bool ListChanged() const { return m_listChanged; }
  bool IsBusy() const { return m_busy; }
  Status StatusOf(int row) const;
  // The local computer's name, as the header of a message names it.
  static QString ComputerName();
  // Host names this computer knows (its hosts file), offered by Browse.
  static QStringList KnownHosts();

 private:
  void SaveList();
  void UpdateButtons();
  void SendNext();
  void SetStatus(QListWidgetItem* item, Status s);
  void SetBusy(bool busy);

  bool m_listChanged = false;
  bool m_busy = false;
  int m_probesRunning = 0;
  std::vector<std::pair<QString, QString>> m_queue;  // host, recipient text
  QByteArray m_message;
  uint16_t m_port = 0;
  QPointer<CNoteSender> m_sender;
};

}  // namespace quillet
