#pragma once
#include <QString>
#include <memory>

class QSoundEffect;

namespace quillet {

// The alarm's sounds: the program's chime (the bell on a machine without an
// audio device) and wave files, once or looped. A machine without an audio
// device plays nothing and says nothing.
class CSound {
 public:
  CSound();
  ~CSound();
  static void Beep();
  // False when the file does not exist.
  bool PlayWave(const QString& path, bool loop);
  void Stop();
  bool IsPlaying() const;

 private:
  std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace quillet
