#include "app/CQuilletApp.h"
#include <string>
#include <optional>
#include <cstring>
#include <cstdio>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
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
#include "app/Autostart.h"
#include "app/QtSettingsStore.h"
#include "app/Ids.h"

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

// --help and --version answer on the terminal and start nothing; without
// them the whole command line names the data file, as it always has.
std::optional<int> AnswerCommandLine(int argc, char** argv) {
  if (argc < 2 || std::strncmp(argv[1], "-", 1) != 0) return std::nullopt;
  const std::string option = argv[1];
  if (option == "--help" || option == "-h") {
    std::printf(
        "Usage: quillet [DATA FILE]\n"
        "Sticky notes for the desktop. The notes are kept in the data file named on\n"
        "the command line, or else in the one the settings name.\n\n"
        "  -h, --help     show this help and exit\n"
        "      --version  show the version and exit\n");
    return 0;
  }
  if (option == "--version") {
    std::printf("quillet %s\n", QUILLET_VERSION);
    return 0;
  }
  if (option.rfind("--", 0) == 0) {
    std::fprintf(stderr, "quillet: unknown option %s (a data file whose name starts with - is given as ./%s)\n",
                 option.c_str(), option.c_str());
    return 2;
  }
  return std::nullopt;
}

QByteArray CQuilletApp::PlatformToUse(const QByteArray& asked, const QByteArray& waylandDisplay, const QByteArray& x11Display) {
  if (!asked.isEmpty() || waylandDisplay.isEmpty() || x11Display.isEmpty()) return {};
  return QByteArrayLiteral("xcb");
}

int CQuilletApp::Run(int argc, char** argv) {
  if (const auto answered = AnswerCommandLine(argc, argv)) return *answered;
  const QByteArray platform = PlatformToUse(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
  if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
  QApplication::setOrganizationName(QStringLiteral("Brisko"));
  QApplication::setApplicationName(QStringLiteral("Quillet"));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));

  const QString locale = QLocale::system().name();
  UIStrings().SetLanguage(LanguageFromLocaleName(locale.toStdString()));
  // Qt's own dialogs (colour, font, file, print) speak the language the program speaks.
  QTranslator qtTexts;
  if (LanguageFromLocaleName(locale.toStdString()) == Language::German &&
      qtTexts.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  if (IsRightToLeftLocale(locale.toStdString())) QApplication::setLayoutDirection(Qt::RightToLeft);
  UIStrings().LoadTranslation(ToLocal(TranslationFilePath()));

  CSingleInstance instance;
  if (!instance.TryAcquire()) {
    CMessageBox::Show(nullptr, FromLocal(LoadUIString(Str::AlreadyRunning)), QMessageBox::Ok, QMessageBox::Ok,
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
  AutostartOnFirstRun(AppSettings(), QCoreApplication::applicationFilePath());
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

  const int rc = QApplication::exec();
  main.Shutdown();
  // Everything that lasts is written by now. Thousands of note windows need
  // not be taken down one by one: the process ends, and the X server drops them.
  instance.Release();
  std::fflush(nullptr);
  std::_Exit(rc);
}

}  // namespace quillet
