#pragma once
// Sound output for the change chime, behind an interface: this machine has no audio device.
#include <memory>
#include <string>

namespace zenlo {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual unsigned DeviceCount() = 0;
  virtual void Beep() = 0;
  virtual void PlayFile(const std::wstring& path) = 0;
  // Plays a whole RIFF WAVE image asynchronously; the memory must outlive the sound.
  virtual void PlayMemory(const void* wave) = 0;
};

std::shared_ptr<SoundPlayer> MakeSoundPlayer();

}  // namespace zenlo
