// Widget tests run on Qt's offscreen platform with a home of their own, so
// no real settings or notes are touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "controls/CMessageBox.h"

namespace {
QtMessageHandler g_previous = nullptr;

// The offscreen platform cannot raise or lower windows and says so every time.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
  if (msg.contains(QStringLiteral("does not support"))) return;
  if (g_previous) g_previous(type, context, msg);
}
}  // namespace

int main(int argc, char** argv) {
  g_previous = qInstallMessageHandler(QuietHandler);
  QTemporaryDir home;
  const QByteArray h = home.path().toLocal8Bit();
  qputenv("HOME", h);
  qputenv("XDG_CONFIG_HOME", h + "/config");
  qputenv("XDG_DATA_HOME", h + "/data");
  qputenv("XDG_RUNTIME_DIR", h + "/run");
  QDir().mkpath(home.path() + QStringLiteral("/run"));
  QFile::setPermissions(home.path() + QStringLiteral("/run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LANG", "en_US.UTF-8");

  QApplication::setOrganizationName(QStringLiteral("Brisko"));
  QApplication::setApplicationName(QStringLiteral("Quillet"));
  QApplication app(argc, argv);
  quillet::CMessageBox::SetNonInteractive(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
