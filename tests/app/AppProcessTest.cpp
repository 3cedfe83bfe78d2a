// The built program, started and stopped as a user's session would.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include "notes/DataFile.h"
#include "support/TempDir.h"

namespace {

class QuilletProcess {
 public:
  explicit QuilletProcess(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUILLET_NONINTERACTIVE"), QStringLiteral("1"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    m_process.setProcessEnvironment(env);
  }
  void Start(const QStringList& args) {
    m_process.start(QStringLiteral(QUILLET_BINARY), args);
    ASSERT_TRUE(m_process.waitForStarted(60000));
  }
  QProcess& Process() { return m_process; }
  ~QuilletProcess() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished(5000);
    }
  }

 private:
  QProcess m_process;
};

QString MakeHome(const QTemporaryDir& dir, int port = 0) {
  QDir().mkpath(dir.path() + QStringLiteral("/run"));
  // Each run listens on a port of its own, or not at all.
  QSettings settings(dir.path() + QStringLiteral("/config/Brisko/Quillet.conf"), QSettings::IniFormat);
  settings.setValue(QStringLiteral("Settings/NetEnable"), port ? 1 : 0);
  if (port) settings.setValue(QStringLiteral("Settings/NetPort"), QString::number(port));
  settings.sync();
  QFile::setPermissions(dir.path() + QStringLiteral("/run"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return dir.path();
}

// Waits until the data file is a version-10 file of the given size.
bool WaitForConvertedFile(const QString& path, qint64 size) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 60000) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly) && f.size() == size) {
      const QByteArray head = f.read(10);
      if (head.size() == 10 && head[8] == 10) return true;
    }
    QThread::msleep(50);
  }
  return false;
}

}  // namespace

TEST(AppProcess, LoadsConvertsAndWritesItsStateOnSigterm) {
  QTemporaryDir dir;
  const QString home = MakeHome(dir);
  const QString data = dir.path() + QStringLiteral("/my notes.dat");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(quillet::test::DataFile("notes-v7.dat")), data));
  QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

  QuilletProcess app(home);
  // The whole command line is the path, spaces and all.
  app.Start({dir.path() + QStringLiteral("/my"), QStringLiteral("notes.dat")});
  ASSERT_TRUE(WaitForConvertedFile(data, 12 + 2 * 2864)) << app.Process().readAllStandardError().toStdString();
  EXPECT_EQ(app.Process().state(), QProcess::Running);

  app.Process().terminate();  // SIGTERM
  ASSERT_TRUE(app.Process().waitForFinished(60000));
  EXPECT_EQ(app.Process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(app.Process().exitCode(), 0);

  QSettings settings(home + QStringLiteral("/config/Brisko/Quillet.conf"), QSettings::IniFormat);
  EXPECT_EQ(settings.value(QStringLiteral("Settings/Show")).toInt(), 1);
  EXPECT_EQ(settings.value(QStringLiteral("Settings/CalShow")).toInt(), 0);
  EXPECT_EQ(settings.value(QStringLiteral("Settings/AlwaysOnTop")).toInt(), 0);
}

TEST(AppProcess, SecondInstanceSaysSoAndLeavesTheFirstRunning) {
  QTemporaryDir dir;
  const QString home = MakeHome(dir);
  QuilletProcess first(home);
  first.Start({});
  const QString defaultFile = home + QStringLiteral("/data/Brisko/Quillet/Quillet.dat");
  ASSERT_TRUE(WaitForConvertedFile(defaultFile, 12));

  QuilletProcess second(home);
  second.Start({});
  ASSERT_TRUE(second.Process().waitForFinished(60000));
  EXPECT_EQ(second.Process().exitCode(), 1);
  EXPECT_NE(second.Process().readAllStandardError().indexOf("Quillet is running already!"), -1);

  EXPECT_EQ(first.Process().state(), QProcess::Running);
  first.Process().terminate();
  ASSERT_TRUE(first.Process().waitForFinished(60000));
  EXPECT_EQ(first.Process().exitCode(), 0);
}

TEST(AppProcess, GermanSessionSpeaksGerman) {
  QTemporaryDir dir;
  const QString home = MakeHome(dir);
  QuilletProcess first(home);
  first.Start({});
  ASSERT_TRUE(WaitForConvertedFile(home + QStringLiteral("/data/Brisko/Quillet/Quillet.dat"), 12));
  QuilletProcess second(home);
  QProcessEnvironment env = second.Process().processEnvironment();
  env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
  second.Process().setProcessEnvironment(env);
  second.Start({});
  ASSERT_TRUE(second.Process().waitForFinished(60000));
  EXPECT_NE(QString::fromUtf8(second.Process().readAllStandardError()).indexOf(QStringLiteral("Quillet läuft bereits!")), -1);
}

TEST(AppProcess, ANoteSentOverTheNetworkLandsInTheReceiversFile) {
  QTemporaryDir dir;
  int port = 0;
  for (int tries = 0; tries < 50 && !port; ++tries) {
    const int candidate = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(40000));
    QTcpServer probe;
    if (probe.listen(QHostAddress::AnyIPv4, static_cast<quint16>(candidate))) port = candidate;
  }
  ASSERT_NE(port, 0);
  const QString home = MakeHome(dir, port);
  QuilletProcess receiver(home);
  receiver.Start({});
  const QString data = home + QStringLiteral("/data/Brisko/Quillet/Quillet.dat");
  ASSERT_TRUE(WaitForConvertedFile(data, 12));

  // The file is there before the listener is: try until the port answers.
  QTcpSocket peer;
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    peer.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    if (peer.waitForConnected(5000)) break;
    peer.abort();
    ASSERT_LT(waited.elapsed(), 60000) << "the receiver never listened";
    QThread::msleep(50);
  }
  peer.write("localhost (Anna)\nLunch at noon?\r\nAt the usual place.");
  peer.disconnectFromHost();
  if (peer.state() != QAbstractSocket::UnconnectedState) peer.waitForDisconnected(5000);

  ASSERT_TRUE(WaitForConvertedFile(data, 12 + 2864)) << receiver.Process().readAllStandardError().toStdString();
  const auto loaded = quillet::CDataFile::Read(quillet::FileSystem::Real(), data.toStdString(), {});
  ASSERT_EQ(loaded.notes.size(), 1u);
  EXPECT_EQ(loaded.notes[0].Text(), "Lunch at noon?\r\nAt the usual place.");
  EXPECT_EQ(loaded.notes[0].ReceivedFrom(), "localhost (Anna)");
  EXPECT_TRUE(loaded.notes[0].ReceivedOn.IsValid());
  receiver.Process().terminate();
  ASSERT_TRUE(receiver.Process().waitForFinished(60000));
}

TEST(AppProcess, HelpAndVersionAnswerAndStartNothing) {
  QTemporaryDir dir;
  for (const char* option : {"--help", "-h", "--version", "--no-such-option"}) {
    QProcess p;
    p.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("HOME"), dir.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUILLET_BINARY), {QString::fromLatin1(option)});
    ASSERT_TRUE(p.waitForFinished(60000)) << option;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (std::string(option) == "--no-such-option") {
      EXPECT_EQ(p.exitCode(), 2);
      EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("unknown option")));
    } else {
      EXPECT_EQ(p.exitCode(), 0) << option;
      EXPECT_TRUE(out.contains(std::string(option) == "--version" ? QStringLiteral("quillet ") : QStringLiteral("Usage:")))
          << option;
    }
    // No data file named after the option, nor anything else.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty()) << option;
  }
}
