// Writes the program's icon as PNG files at the sizes a desktop asks for,
// from the same drawing as the tray icon: make_icons <output folder>.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "controls/Platform.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons <output folder>\n");
    return 2;
  }
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    if (!QDir().mkpath(dir) || !quillet::QuilletIconPixmap(size).save(dir + QStringLiteral("/quillet.png"))) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(dir));
      return 1;
    }
  }
  return 0;
}
