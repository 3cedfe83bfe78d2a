// Notes received per second over loopback from 1, 10, 50 and 100 senders
// at once, the time one send takes, and the delay of an honest note while
// one computer holds a silent and dripping crowd of connections; against a
// real main window (offscreen, or on a desktop with QT_QPA_PLATFORM=xcb).
#include "BenchApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"
#include "net/CNoteSender.h"
#include "net/CNoteServer.h"

using namespace quillet;

namespace {
constexpr int kPort = 41977;

void WaitUntil(const std::function<bool()>& done) {
  while (!done()) QApplication::processEvents(QEventLoop::AllEvents, 5);
}
}  // namespace

int main(int argc, char** argv) {
  BenchApp bench(argc, argv);
  const QTemporaryDir& home = bench.home;
  AppSettings().WriteInt("Settings", "NetEnable", 1);
  AppSettings().WriteString("Settings", "NetPort", std::to_string(kPort));
  const QByteArray message = "bench (load)\nA note that came over the network\r\nwith a second line";

  std::printf("%10s %10s %14s\n", "senders", "notes", "notes per s");
  for (const int senders : {1, 10, 50, 100}) {
    const std::string path = (home.path() + QStringLiteral("/net-%1.dat").arg(senders)).toStdString();
    CMainWindow main(QString::fromStdString(path));
    main.OnCreate();
    if (!main.Server() || !main.Server()->IsListening()) {
      std::printf("cannot listen on %d\n", kPort);
      return 1;
    }
    const int total = qEnvironmentVariableIntValue("NET_BENCH_NOTES") > 0 ? qEnvironmentVariableIntValue("NET_BENCH_NOTES") : 300;
    int started = 0, finished = 0, failed = 0;
    std::function<void()> launch = [&] {
      if (started >= total) return;
      ++started;
      (new CNoteSender(QStringLiteral("127.0.0.1"), kPort, message, [&](bool ok) {
        ++finished;
        failed += !ok;
        launch();
      }))->Start();
    };
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < senders; ++i) launch();
    QElapsedTimer report;
    report.start();
    WaitUntil([&] {
      if (report.elapsed() > 3000) {
        std::fprintf(stderr, "waiting: %d started, %d finished, %d failed, %d notes, %d open\n", started, finished,
                     failed, main.NoteCount(), main.Server()->OpenConnections());
        report.restart();
      }
      return finished == total && main.NoteCount() + failed >= total;
    });
    const double secs = t.nsecsElapsed() / 1e9;
    std::printf("%10d %10d %14.0f%s\n", senders, main.NoteCount(), main.NoteCount() / secs,
                failed ? " (some sends failed)" : "");
    main.Shutdown();
  }

  // One send, from the first byte to the closed connection, into a window with notes.
  const std::string path = (home.path() + QStringLiteral("/net-one.dat")).toStdString();
  CMainWindow main(QString::fromStdString(path));
  main.OnCreate();
  double sum = 0;
  constexpr int kRounds = 50;
  for (int i = 0; i < kRounds; ++i) {
    bool done = false;
    QElapsedTimer t;
    t.start();
    (new CNoteSender(QStringLiteral("127.0.0.1"), kPort, message, [&](bool) { done = true; }))->Start();
    WaitUntil([&] { return done && main.NoteCount() == i + 1; });
    sum += t.nsecsElapsed() / 1e6;
  }
  std::printf("one send until the note is on disk: %.2f ms (mean of %d)\n", sum / kRounds, kRounds);

  // An honest note from 127.0.0.2 while 127.0.0.1 holds 300 silent
  // connections and 100 that send a byte every 2 s.
  std::vector<std::unique_ptr<QTcpSocket>> crowd;
  for (int i = 0; i < 400; ++i) {
    crowd.push_back(std::make_unique<QTcpSocket>());
    crowd.back()->connectToHost(QHostAddress::LocalHost, kPort);
  }
  WaitUntil([&] {
    return std::all_of(crowd.begin(), crowd.end(),
                       [](const auto& c) { return c->state() != QAbstractSocket::ConnectingState; });
  });
  QTimer drip;
  QObject::connect(&drip, &QTimer::timeout, [&] {
    for (std::size_t i = 300; i < crowd.size(); ++i) crowd[i]->write("x");
  });
  drip.start(2000);
  WaitUntil([&] { return main.Server()->OpenConnections() >= CNoteServer::kMaxPerPeer; });
  const int before = main.NoteCount();
  QTcpSocket honest;
  honest.bind(QHostAddress(QStringLiteral("127.0.0.2")));
  QElapsedTimer t;
  t.start();
  honest.connectToHost(QHostAddress::LocalHost, kPort);
  honest.write("honest\nA note from another computer");
  honest.disconnectFromHost();
  WaitUntil([&] { return main.NoteCount() > before; });
  std::printf("an honest note under a silent and dripping crowd of 400: on disk after %.1f ms\n",
              t.nsecsElapsed() / 1e6);
  main.Shutdown();
  return 0;
}
