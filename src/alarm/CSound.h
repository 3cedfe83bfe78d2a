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
  // The "Test Audio Signal" buttons: choice 1 the standard signal, 2 the sound file.
  static void Test(int choice, const QString& path);
  // False when the file does not exist.
  bool PlayWave(const QString& path, bool loop);
  void Stop();
  bool IsPlaying() const;

 private:
  std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace quillet
