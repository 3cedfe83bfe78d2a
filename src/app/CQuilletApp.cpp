#include "app/CQuilletApp.h"

#include <QApplication>
#include <QLocale>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include "app/CSingleInstance.h"
#include "app/Paths.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quillet {

namespace {

#ifndef _WIN32
int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char c = 1;
  [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT end the program through the normal shutdown, on the UI thread.
void InstallSignalHandlers(QObject* parent, std::function<void()> onSignal) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent, [onSignal = std::move(onSignal)] {
    char c;
    [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &c, 1);
    onSignal();
  });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}
#endif

QString CommandLineText(int argc, char** argv) {
  QStringList parts;
  for (int i = 1; i < argc; ++i) parts << QString::fromLocal8Bit(argv[i]);
  return parts.join(QLatin1Char(' '));
}

}  // namespace

int CQuilletApp::Run(int argc, char** argv) {
  QApplication::setOrganizationName(QStringLiteral("Brisko"));
  QApplication::setApplicationName(QStringLiteral("Quillet"));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));

  const QString locale = QLocale::system().name();
  UIStrings().SetLanguage(LanguageFromLocaleName(locale.toStdString()));
  if (IsRightToLeftLocale(locale.toStdString())) QApplication::setLayoutDirection(Qt::RightToLeft);
  UIStrings().LoadTranslation(ToLocal(TranslationFilePath()));

  CSingleInstance instance;
  if (!instance.TryAcquire()) {
    CMessageBox::Show(nullptr, FromLocal(LoadUIString(30000)), QMessageBox::Ok, QMessageBox::Ok,
                      QMessageBox::Information);
    return 1;
  }

  std::srand(static_cast<unsigned>(std::time(nullptr)));

  CMainWindow main(CommandLineText(argc, argv));
  auto shutdown = [&main] {
    main.Shutdown();
    QCoreApplication::exit(0);  // quit() would ask every window, and an open alarm box says no
  };
#ifndef _WIN32
  // Before anything is loaded: a signal that comes early waits for the event loop.
  InstallSignalHandlers(&app, shutdown);
#endif
  main.OnCreate();
  // A signal during a start-up message box ends only that box's event loop;
  // the program must not go on into its own loop with its notes closed.
  if (main.IsShutDown()) return 0;
  const bool trayAdded = main.AddTrayIcon();
  if (main.IsShutDown()) return 0;
  if (!trayAdded) {
    main.Shutdown();
    return 1;
  }
  // The desktop session is ending: the same shutdown, before the loop stops.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &main, [&main](QSessionManager&) { main.Shutdown(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &main, [&main] { main.Shutdown(); });

  return QApplication::exec();
}

}  // namespace quillet
