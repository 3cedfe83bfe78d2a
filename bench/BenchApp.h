#pragma once
// The set-up every widget benchmark shares: the offscreen platform unless
// another is asked for, a home of its own, no message boxes, no listener.
#include <QApplication>
#include <QTemporaryDir>

#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"

struct BenchApp {
  QTemporaryDir home;
  std::unique_ptr<QApplication> app;
  BenchApp(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication::setOrganizationName(QStringLiteral("Brisko"));
    QApplication::setApplicationName(QStringLiteral("QuilletBench"));
    app = std::make_unique<QApplication>(argc, argv);
    quillet::CMessageBox::SetNonInteractive(true);
    quillet::AppSettings().WriteInt("Settings", "NetEnable", 0);
  }
  QString File(const QString& name) const { return home.path() + QLatin1Char('/') + name; }
};
