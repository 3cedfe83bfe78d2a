#include "alarm/CSound.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace quillet {

CSound::CSound() = default;
CSound::~CSound() = default;

void CSound::Beep() { QApplication::beep(); }

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
