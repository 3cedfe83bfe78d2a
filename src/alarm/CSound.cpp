#include "alarm/CSound.h"

#include <QApplication>
#include <QDir>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include "alarm/Chime.h"

namespace quillet {

CSound::CSound() = default;
CSound::~CSound() = default;

void CSound::Beep() {
  // The program's own chime where there is a speaker; the bell only without one.
  static std::unique_ptr<QSoundEffect> chime;
  static QTemporaryFile file(QDir::tempPath() + QStringLiteral("/quillet-chime-XXXXXX.wav"));
  if (QMediaDevices::audioOutputs().isEmpty()) {
    QApplication::beep();
    return;
  }
  if (!chime) {
    const std::vector<uint8_t> wave = ChimeWave();
    if (!file.open() || file.write(reinterpret_cast<const char*>(wave.data()), static_cast<qint64>(wave.size())) !=
                            static_cast<qint64>(wave.size()) || !file.flush()) {
      QApplication::beep();
      return;
    }
    chime = std::make_unique<QSoundEffect>();
    chime->setSource(QUrl::fromLocalFile(file.fileName()));
  }
  chime->play();
}

void CSound::Test(int choice, const QString& path) {
  static CSound sound;
  if (choice == 1) Beep();
  if (choice == 2) sound.PlayWave(path, false);
}

bool CSound::PlayWave(const QString& path, bool loop) {
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  Stop();
  m_effect = std::make_unique<QSoundEffect>();
  m_effect->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
  m_effect->setLoopCount(loop ? QSoundEffect::Infinite : 1);
  m_effect->play();
  return true;
}

void CSound::Stop() {
  if (m_effect) m_effect->stop();
}

bool CSound::IsPlaying() const { return m_effect && m_effect->isPlaying(); }

}  // namespace quillet
