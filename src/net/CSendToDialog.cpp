#include "net/CSendToDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/DialogParts.h"
#include "common/Text.h"
#include "controls/CMessageBox.h"
#include "controls/CModal.h"
#include "controls/Platform.h"
#include "net/CNoteSender.h"
#include "net/TransferProtocol.h"
#include "notes/NoteText.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
QIcon StatusIcon(int status) {
  QPixmap pm(16, 15);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colors[] = {QColor(0xA0, 0xA0, 0xA0), QColor(0x20, 0xA0, 0x40), QColor(0xD0, 0x30, 0x30)};
  p.setBrush(colors[std::clamp(status, 0, 2)]);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(3, 3, 10, 10));
  return QIcon(pm);
}

// The text box keeps Tab for itself; Ctrl+Tab inserts one.
class CSendText : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ControlModifier)) {
      textCursor().insertText(QStringLiteral("\t"));
      return;
    }
    QPlainTextEdit::keyPressEvent(e);
  }
};

std::string WireText(const QString& s) {
  QString t = s;
  t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return HoldToWidth(ToLocal(t), kMaxEditText);
}
}  // namespace

QString CSendToDialog::ComputerName() { return QSysInfo::machineHostName(); }

QStringList CSendToDialog::KnownHosts() {
  QStringList hosts;
  QFile f(QStringLiteral("/etc/hosts"));
  if (!f.open(QIODevice::ReadOnly)) return hosts;
  while (!f.atEnd()) {
    QString line = QString::fromLocal8Bit(f.readLine());
    line = line.left(line.indexOf(QLatin1Char('#'))).simplified();
    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 1; i < parts.size(); ++i) {
      const QString& name = parts[i];
      if (name == QLatin1String("localhost") || name.startsWith(QLatin1String("ip6-")) || hosts.contains(name)) continue;
      hosts << name;
    }
  }
  return hosts;
}

CSendToDialog::CSendToDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Ui(Str::QuilletSendTo));
  setWindowIcon(QuilletIcon());
  auto* group = new QGroupBox(Ui(Str::ComputerNameOrIPAddress), this);
  recipients = new QLineEdit(group);
  browse = new QPushButton(Ui(Str::BrowseComputers), group);
  list = new QListWidget(group);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  add = new QPushButton(Ui(Str::SendToAdd), group);
  remove = new QPushButton(Ui(Str::SendToDelete), group);
  up = new QPushButton(Ui(Str::SendToMoveUp), group);
  down = new QPushButton(Ui(Str::SendToMoveDown), group);
  refresh = new QPushButton(Ui(Str::Refresh), group);
  auto* grid = new QGridLayout(group);
  grid->addWidget(recipients, 0, 0);
  grid->addWidget(browse, 0, 1);
  grid->addWidget(list, 1, 0, 6, 1);
  grid->addWidget(add, 1, 1);
  grid->addWidget(remove, 2, 1);
  grid->addWidget(up, 3, 1);
  grid->addWidget(down, 4, 1);
  grid->addWidget(refresh, 5, 1);
  grid->setRowStretch(6, 1);
  computerName = new QLabel(this);
  auto* textGroup = new QGroupBox(Ui(Cmd::PasteText).remove(QLatin1Char('&')), this);
  text = new CSendText(textGroup);
  auto* tl = new QVBoxLayout(textGroup);
  tl->addWidget(text);
  progress = new QProgressBar(this);
  progress->setRange(0, 0);
  progress->setTextVisible(false);
  progress->hide();
  auto* buttons = MakeOkCancelHelp(this);
  ok = buttons->button(QDialogButtonBox::Ok);
  auto* all = new QVBoxLayout(this);
  all->addWidget(group);
  all->addWidget(computerName);
  all->addWidget(textGroup, 1);
  all->addWidget(progress);
  all->addWidget(buttons);
  resize(460, 520);

  for (const std::string& entry : AppSettings().GetStringList("Send")) {
    auto* item = new QListWidgetItem(FromLocal(entry), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    item->setCheckState(Qt::Unchecked);
    SetStatus(item, kNotTested);
  }
  if (list->count() > 0) list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  const QString name = ComputerName();
  if (!name.isEmpty()) computerName->setText(FromLocal(FormatUIString(LoadUIString(Str::ThisComputerIs), {ToLocal(name)})));

  connect(recipients, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  connect(list, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
  connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    // An emptied label is refused; another one is taken as typed.
    if (item->data(Qt::UserRole + 1).toString() == item->text()) return;
    if (item->text().trimmed().isEmpty()) {
      const QSignalBlocker block(list);
      item->setText(item->data(Qt::UserRole + 1).toString());
      return;
    }
    item->setData(Qt::UserRole + 1, item->text());
    m_listChanged = true;
  });
  connect(add, &QPushButton::clicked, this, &CSendToDialog::Add);
  connect(remove, &QPushButton::clicked, this, &CSendToDialog::Delete);
  connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(down, &QPushButton::clicked, this, [this] { Move(1); });
  connect(refresh, &QPushButton::clicked, this, &CSendToDialog::Refresh);
  connect(browse, &QPushButton::clicked, this, &CSendToDialog::Browse);
  connect(text, &QPlainTextEdit::textChanged, this, [this] {
    // The message holds at most 2046 bytes of text.
    const QString t = text->toPlainText();
    if (WireText(t).size() < ToLocal(QString(t).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))).size()) {
      const QSignalBlocker block(text);
      QString cut = FromLocal(WireText(t));
      text->setPlainText(cut.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      text->moveCursor(QTextCursor::End);
    }
  });
  UpdateButtons();
}

CSendToDialog::~CSendToDialog() = default;

void CSendToDialog::SetText(const QString& t) { text->setPlainText(QString(t).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))); }
void CSendToDialog::SetRecipients(const QString& r) { recipients->setText(r); }

CSendToDialog::Status CSendToDialog::StatusOf(int row) const {
  const QListWidgetItem* item = list->item(row);
  return item ? static_cast<Status>(item->data(Qt::UserRole).toInt()) : kNotTested;
}

void CSendToDialog::SetStatus(QListWidgetItem* item, Status s) {
  const QSignalBlocker block(list);
  item->setData(Qt::UserRole, s);
  item->setData(Qt::UserRole + 1, item->text());
  item->setIcon(StatusIcon(s));
}

void CSendToDialog::UpdateButtons() {
  const int row = list->currentRow();
  const bool selected = row >= 0 && !list->selectedItems().isEmpty();
  add->setEnabled(!m_busy && !recipients->text().trimmed().isEmpty());
  remove->setEnabled(!m_busy && selected);
  up->setEnabled(!m_busy && selected && row > 0);
  down->setEnabled(!m_busy && selected && row < list->count() - 1);
  refresh->setEnabled(!m_busy && list->count() > 0 && m_probesRunning == 0);
  ok->setEnabled(!m_busy);
}

void CSendToDialog::Add() {
  for (const std::string& field : SplitRecipients(ToLocal(recipients->text()))) {
    const QString f = FromLocal(field);
    if (!list->findItems(f, Qt::MatchFixedString).isEmpty()) continue;
    auto* item = new QListWidgetItem(f, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    item->setCheckState(Qt::Unchecked);
    SetStatus(item, kNotTested);
    list->scrollToItem(item);
    m_listChanged = true;
  }
  UpdateButtons();
}

void CSendToDialog::Delete() {
  const int row = list->currentRow();
  if (row < 0 || list->selectedItems().isEmpty()) return;
  delete list->takeItem(row);
  m_listChanged = true;
  if (list->count() > 0) list->setCurrentRow(std::min(row, list->count() - 1));
  UpdateButtons();
}

void CSendToDialog::Move(int by) {
  if (!MoveCurrentItem(list, by)) return;
  m_listChanged = true;
  UpdateButtons();
}

void CSendToDialog::Browse() {
  QInputDialog picker(this);
  picker.setWindowTitle(Ui(Str::QuilletSendTo));
  picker.setLabelText(Ui(Str::ComputerNameOrIPAddress).remove(QLatin1Char('&')));
  picker.setComboBoxItems(KnownHosts());
  picker.setComboBoxEditable(true);
  if (CModal::Run(picker) != QDialog::Accepted) return;
  QString name = picker.textValue().trimmed();
  if (name.isEmpty()) return;
  if (name.contains(QLatin1Char(' '))) name = QLatin1Char('"') + name + QLatin1Char('"');
  QString r = recipients->text();
  if (!r.isEmpty()) r += QStringLiteral(", ");
  recipients->setText(r + name);
}

void CSendToDialog::Refresh() {
  const uint16_t port = PortFromText(AppSettings().String("NetPort"));
  for (int i = 0; i < list->count(); ++i) {
    QPointer<QListWidget> guard(list);
    QListWidgetItem* item = list->item(i);
    const QString host = FromLocal(HostOf(ToLocal(item->text().left(255))));
    ++m_probesRunning;
    auto* probe = new CNoteSender(host, port, QByteArray(kProbeMessage.data(), 1), [this, guard, item](bool delivered) {
      --m_probesRunning;
      if (guard && list->row(item) >= 0) SetStatus(item, delivered ? kReachable : kUnreachable);
      if (guard) UpdateButtons();
    }, this);
    probe->Start();
  }
  UpdateButtons();
}

void CSendToDialog::SaveList() {
  if (!m_listChanged) return;
  std::vector<std::string> entries;
  for (int i = 0; i < list->count(); ++i) entries.push_back(ToLocal(list->item(i)->text()));
  AppSettings().WriteStringList("Send", entries);
  m_listChanged = false;
}

void CSendToDialog::SetBusy(bool busy) {
  m_busy = busy;
  progress->setVisible(busy);
  recipients->setEnabled(!busy);
  list->setEnabled(!busy);
  text->setReadOnly(busy);
  UpdateButtons();
}

void CSendToDialog::accept() {
  if (m_busy) return;
  SaveList();
  std::vector<std::string> ticked;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked) ticked.push_back(ToLocal(list->item(i)->text()));
  m_queue.clear();
  for (const auto& [host, recipient] : BuildRecipients(ticked, ToLocal(recipients->text())))
    m_queue.emplace_back(FromLocal(host), FromLocal(recipient));
  if (m_queue.empty()) {
    CMessageBox::Show(this, Ui(Str::NoRecipient));
    return;
  }
  if (text->toPlainText().isEmpty()) {
    CMessageBox::Show(this, Ui(Str::NoTextGiven));
    text->setFocus();
    return;
  }
  const CSettings& s = AppSettings();
  m_port = PortFromText(s.String("NetPort"));
  const std::string sender = HoldToWidth(s.String("NetSender"), kMaxSenderName);
  // Cut to what a receiver reads, and never inside a character.
  const std::string message =
      HoldToWidth(EncodeMessage(ToLocal(ComputerName()), sender, WireText(text->toPlainText())), kMaxMessage);
  m_message = QByteArray(message.data(), static_cast<qsizetype>(message.size()));
  SetBusy(true);
  SendNext();
}

void CSendToDialog::SendNext() {
  if (m_queue.empty()) {
    SetBusy(false);
    QDialog::accept();
    return;
  }
  const auto [host, recipient] = m_queue.front();
  progress->setFormat(host);
  m_sender = new CNoteSender(host, m_port, m_message, [this, host = host, recipient = recipient](bool delivered) {
    if (!m_busy) return;  // cancelled
    if (!delivered) {
      SetBusy(false);
      m_queue.clear();
      CMessageBox::Show(this, FromLocal(FormatUIString(LoadUIString(Str::NoteCannotBeDelivered), {ToLocal(host)})));
      // Enter tries again.
      ok->setDefault(true);
      ok->setFocus();
      return;
    }
    // A served recipient is neither typed nor ticked any more, so a second OK
    // sends only to the rest.
    recipients->setText(FromLocal(RemoveRecipient(ToLocal(recipients->text()), ToLocal(recipient))));
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->text() == recipient) list->item(i)->setCheckState(Qt::Unchecked);
    m_queue.erase(m_queue.begin());
    SendNext();
  }, this);
  m_sender->Start();
}

void CSendToDialog::reject() {
  // Cancel stops a send in flight; what was delivered stays delivered.
  if (m_busy) {
    m_queue.clear();
    SetBusy(false);
    if (m_sender) m_sender->Cancel();
  }
  SaveList();
  QDialog::reject();
}

}  // namespace quillet
