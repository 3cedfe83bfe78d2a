#include <QElapsedTimer>
#include <set>
#include <QListWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

#include "controls/CModal.h"
#include "net/CNoteSender.h"
#include "notewnd/Layout.h"
#include "notewnd/CNoteWnd.h"
#include "net/CNoteServer.h"
#include "net/CSendToDialog.h"
#include "support/WaitFor.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {

// A port in the range the settings allow that nobody holds right now.
int FreePort() {
  for (;;) {
    const int port = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(40000));
    QTcpServer probe;
    if (probe.listen(QHostAddress::AnyIPv4, static_cast<quint16>(port))) return port;
  }
}

bool Send(int port, const QByteArray& message) {
  std::optional<bool> result;
  (new CNoteSender(QStringLiteral("127.0.0.1"), static_cast<uint16_t>(port), message, [&](bool ok) { result = ok; }))->Start();
  WaitFor([&] { return result.has_value(); });
  return result.value_or(false);
}

class Network : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    CModal::ClearHandlers();
    port = FreePort();
    AppSettings().WriteInt("Settings", "NetEnable", 1);
    AppSettings().WriteString("Settings", "NetPort", std::to_string(port));
  }
  void TearDown() override { CModal::ClearHandlers(); }
  int port = 0;
};

}  // namespace

TEST_F(Network, ASentNoteArrivesWithItsSenderAndIsOnDisk) {
  Start();
  ASSERT_TRUE(main->Server() && main->Server()->IsListening());
  ASSERT_TRUE(Send(port, "localhost (Anna)\na\r\nb"));
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 1; }));
  const CNote n = OnDisk(0);
  EXPECT_EQ(n.Text(), "a\r\nb");
  EXPECT_EQ(n.ReceivedFrom(), "localhost (Anna)");
  EXPECT_TRUE(n.ReceivedOn.IsValid());
  EXPECT_TRUE(n.OnTop());
  EXPECT_EQ(n.Rect.left, 200);
  EXPECT_FALSE(main->WindowAt(0)->IsSelected());
  EXPECT_EQ(CountOnDisk(), 1);
}

TEST_F(Network, TheProbeCreatesNothing) {
  Start();
  ASSERT_TRUE(Send(port, " "));
  QApplication::processEvents();
  EXPECT_TRUE(WaitFor([&] { return main->Server()->OpenConnections() == 0; }));
  EXPECT_EQ(main->NoteCount(), 0);
}

TEST_F(Network, ASilentPeerHoldsUpNobodyAndIsDroppedInTheEnd) {
  Start();
  main->Server()->SetDeadline(400);
  QTcpSocket silent;
  silent.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  ASSERT_TRUE(WaitFor([&] { return silent.state() == QAbstractSocket::ConnectedState; }));
  ASSERT_TRUE(WaitFor([&] { return main->Server()->OpenConnections() == 1; }));
  ASSERT_TRUE(Send(port, "PC8\nsecond sender"));
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 1; }));
  EXPECT_EQ(main->GetNote(0)->Text(), "second sender");
  EXPECT_TRUE(WaitFor([&] { return silent.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(main->Server()->OpenConnections(), 0);
}

TEST_F(Network, AFloodKeepsOnlyOneMessagesWorth) {
  Start();
  QTcpSocket big;
  big.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  ASSERT_TRUE(WaitFor([&] { return big.state() == QAbstractSocket::ConnectedState; }));
  big.write(QByteArray("PC9\n") + QByteArray(1 << 20, 'x'));
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 1; }));
  EXPECT_EQ(main->GetNote(0)->Text().size(), 2046u - 4);
}

TEST_F(Network, ASilentCrowdFromOneComputerHoldsUpNoOtherComputer) {
  Start();
  std::vector<std::unique_ptr<QTcpSocket>> crowd;
  for (int i = 0; i < CNoteServer::kMaxPerPeer + 20; ++i) {
    crowd.push_back(std::make_unique<QTcpSocket>());
    crowd.back()->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  }
  ASSERT_TRUE(WaitFor([&] {
    return std::count_if(crowd.begin(), crowd.end(), [](const auto& s) {
             return s->state() == QAbstractSocket::UnconnectedState;
           }) == 20;
  }));
  // The crowd's newest connections pushed out its oldest, not anyone else's.
  EXPECT_EQ(main->Server()->OpenConnections(), CNoteServer::kMaxPerPeer);
  QTcpSocket other;
  ASSERT_TRUE(other.bind(QHostAddress(QStringLiteral("127.0.0.2"))));
  other.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  ASSERT_TRUE(WaitFor([&] { return other.state() == QAbstractSocket::ConnectedState; }));
  other.write("PC10\nfrom another computer");
  other.disconnectFromHost();
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 1; }));
  EXPECT_EQ(main->GetNote(0)->Text(), "from another computer");
  EXPECT_EQ(main->Server()->OpenConnections(), CNoteServer::kMaxPerPeer);
}

TEST_F(Network, AMessageLeftOpenIsReadWhenItsTimeIsUp) {
  Start();
  main->Server()->SetDeadline(300);
  QTcpSocket open;
  open.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  ASSERT_TRUE(WaitFor([&] { return open.state() == QAbstractSocket::ConnectedState; }));
  open.write("PC\nhello");
  // A dripping peer: its bytes do not buy it more time.
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 1; }));
  EXPECT_EQ(main->GetNote(0)->Text(), "hello");
  EXPECT_TRUE(WaitFor([&] { return open.state() == QAbstractSocket::UnconnectedState; }));
}

TEST_F(Network, NotesFromOneComputerLandInTheOrderTheyWereSent) {
  Start();
  std::vector<std::unique_ptr<QTcpSocket>> sends;
  for (int i = 0; i < 8; ++i) {
    sends.push_back(std::make_unique<QTcpSocket>());
    sends.back()->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    ASSERT_TRUE(WaitFor([&] { return sends.back()->state() == QAbstractSocket::ConnectedState; }));
    ASSERT_TRUE(WaitFor([&] { return main->Server()->OpenConnections() == i + 1; }));
  }
  // The later ones finish first.
  for (int i = 7; i >= 0; --i) {
    sends[i]->write("ORD\n" + QByteArray::number(i));
    sends[i]->disconnectFromHost();
  }
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 8; }));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(main->GetNote(i)->Text(), std::to_string(i));
}

TEST_F(Network, ReceiveSettingsShapeTheNote) {
  AppSettings().WriteInt("Settings", "NetOnTop", 0);
  AppSettings().WriteInt("Settings", "NetFolder", 3);  // only two folders exist
  AppSettings().WriteStringList("Folder", {"Home", "Work"});
  AppSettings().WriteLayoutList({5});
  AppSettings().WriteInt("Layout5", "ColorBack", 0x00336699);
  AppSettings().WriteInt("Settings", "NetLayout", 5);
  AppSettings().WriteInt("Settings", "Show", 0);
  Start();
  AddNote("stays hidden", QRect(10, 10, 40, 30));
  EXPECT_FALSE(main->WindowAt(0)->isVisible());
  ASSERT_TRUE(Send(port, "PC7\nnews"));
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 2; }));
  const CNote n = OnDisk(1);
  EXPECT_FALSE(n.OnTop());
  EXPECT_EQ(n.Folder(), "");
  EXPECT_EQ(n.ColorBack, 0x00336699u);
  EXPECT_TRUE(main->WindowAt(1)->isVisible());
  EXPECT_TRUE(main->WindowAt(1)->IsSelected());
  EXPECT_FALSE(main->WindowAt(0)->isVisible());
  EXPECT_FALSE(main->HasFlag(CMainWindow::kShowNotes));
}

TEST_F(Network, APortThatIsTakenTurnsReceivingOff) {
  QTcpServer holder;
  ASSERT_TRUE(holder.listen(QHostAddress::AnyIPv4, static_cast<quint16>(port)));
  Start();
  EXPECT_FALSE(main->Server() && main->Server()->IsListening());
  ASSERT_FALSE(CMessageBox::Shown().isEmpty());
  EXPECT_TRUE(CMessageBox::Shown().back().startsWith(QStringLiteral("Port %1 cannot be opened").arg(port)));
  EXPECT_FALSE(AppSettings().Flag("NetEnable"));
}

TEST_F(Network, SendingStopsAtTheFirstUnreachableRecipientAndNamesIt) {
  Start();
  const int closedPort = FreePort();
  CSendToDialog dialog;
  dialog.text->setPlainText(QStringLiteral("hello there"));
  dialog.recipients->setText(QStringLiteral("127.0.0.1; 127.0.0.2"));
  dialog.accept();
  // Both connections are read by the receiver, not only written by the sender.
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 2 && !dialog.IsBusy(); }));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(main->NoteCount(), 2);  // 127.0.0.2 is this machine too
  EXPECT_EQ(main->GetNote(0)->Text(), "hello there");

  AppSettings().WriteString("Settings", "NetPort", std::to_string(closedPort));
  CSendToDialog second;
  second.text->setPlainText(QStringLiteral("nobody listens"));
  second.recipients->setText(QStringLiteral("127.0.0.1"));
  second.accept();
  ASSERT_TRUE(WaitFor([&] { return !second.IsBusy(); }));
  ASSERT_FALSE(CMessageBox::Shown().isEmpty());
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The note cannot be delivered to: 127.0.0.1"));
  EXPECT_NE(second.result(), QDialog::Accepted);
}

TEST_F(Network, ServedRecipientsLoseTheirTickAndTheRestIsTriedAgain) {
  // 255.255.255.255 fails at once on this machine, with no name lookup and no traffic.
  AppSettings().WriteStringList("Send", {"127.0.0.1 (me)", "255.255.255.255", "127.0.0.3"});
  Start();
  CSendToDialog dialog;
  ASSERT_EQ(dialog.list->count(), 3);
  for (int i = 0; i < 3; ++i) dialog.list->item(i)->setCheckState(Qt::Checked);
  dialog.text->setPlainText(QStringLiteral("to all"));
  dialog.accept();
  ASSERT_TRUE(WaitFor([&] { return !dialog.IsBusy() && main->NoteCount() == 1; }));
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The note cannot be delivered to: 255.255.255.255"));
  EXPECT_EQ(dialog.list->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(dialog.list->item(1)->checkState(), Qt::Checked);
  EXPECT_EQ(dialog.list->item(2)->checkState(), Qt::Checked);
  EXPECT_EQ(main->NoteCount(), 1);  // the third was not tried
}

TEST_F(Network, TheListIsKeptAndProbed) {
  Start();
  {
    CSendToDialog dialog;
    dialog.recipients->setText(QStringLiteral("127.0.0.1, B, b; c"));
    dialog.Add();
    ASSERT_EQ(dialog.list->count(), 3);  // B and b are one entry
    dialog.list->setCurrentRow(2);
    dialog.Move(-1);
    EXPECT_EQ(dialog.list->item(1)->text(), QStringLiteral("c"));
    dialog.reject();
  }
  EXPECT_EQ(AppSettings().GetStringList("Send"), (std::vector<std::string>{"127.0.0.1", "c", "B"}));
  AppSettings().WriteStringList("Send", {"127.0.0.1", "255.255.255.255"});
  CSendToDialog dialog;
  EXPECT_EQ(dialog.StatusOf(0), CSendToDialog::kNotTested);
  dialog.Refresh();
  ASSERT_TRUE(WaitFor([&] { return dialog.StatusOf(0) != CSendToDialog::kNotTested && dialog.StatusOf(1) != CSendToDialog::kNotTested; }));
  EXPECT_EQ(dialog.StatusOf(0), CSendToDialog::kReachable);
  EXPECT_EQ(dialog.StatusOf(1), CSendToDialog::kUnreachable);
  EXPECT_EQ(main->NoteCount(), 0);  // probes make no notes
}

TEST_F(Network, AnsweringAReceivedNoteGoesBackToItsSender) {
  Start();
  ASSERT_TRUE(Send(port, "localhost (Anna)\nlunch?"));
  ASSERT_TRUE(WaitFor([&] { return main->NoteCount() == 1; }));
  QString recipients, text;
  CModal::SetNextHandler([&](QDialog& d) {
    auto& dialog = dynamic_cast<CSendToDialog&>(d);
    recipients = dialog.recipients->text();
    text = dialog.text->toPlainText();
    return int(QDialog::Rejected);
  });
  main->NoteCommand(*main->WindowAt(0), 32117);
  EXPECT_EQ(recipients, QStringLiteral("localhost (Anna)"));
  EXPECT_EQ(text, QStringLiteral("lunch?"));
}

TEST_F(Network, ManySendersAtOnceAllArrive) {
  Start();
  constexpr int kSenders = 128;
  int done = 0, delivered = 0;
  for (int i = 0; i < kSenders; ++i)
    (new CNoteSender(QStringLiteral("127.0.0.1"), static_cast<uint16_t>(port),
                     QByteArray("crowd\nnote ") + QByteArray::number(i), [&](bool ok) {
                       ++done;
                       delivered += ok;
                     }))->Start();
  ASSERT_TRUE(WaitFor([&] { return done == kSenders; }));
  EXPECT_EQ(delivered, kSenders);
  // Peers that waited their turn, written and gone, still become notes.
  EXPECT_TRUE(WaitFor([&] { return main->NoteCount() == kSenders; })) << main->NoteCount();
  EXPECT_EQ(CountOnDisk(), kSenders);
}

TEST_F(Network, RandomColoursOfTheLayoutApplyToReceivedNotes) {
  AppSettings().WriteInt("Settings", "RandomColor", 1);
  Start();
  const ColorRef stored = ReadLayout(AppSettings(), 0).colorBack;
  std::set<ColorRef> backs;
  for (int i = 0; i < 6; ++i) {
    CNoteWnd* w = main->ReceiveNote({"PC", "note " + std::to_string(i), "127.0.0.1"});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Note().ColorText, kColorAutomatic);
    backs.insert(w->Note().ColorBack);
  }
  EXPECT_GT(backs.size(), 1u);  // each its own colour
  EXPECT_FALSE(backs.count(stored) == 1 && backs.size() == 1);
}

TEST_F(Network, AListedComputerMayBeNamed) {
  AppSettings().WriteInt("Settings", "NetAccept", 2);
  AppSettings().WriteString("Settings", "NetAcceptList", "localhost");
  Start();
  // Refused until the name is looked up, then taken.
  ASSERT_TRUE(WaitFor([&] {
    Send(port, "localhost\nby name");
    return main->NoteCount() >= 1;
  }));
  EXPECT_EQ(main->GetNote(0)->Text(), "by name");
}
