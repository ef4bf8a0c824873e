#include "listing/model/SoundPlayer.h"

#include <windows.h>
#include <mmsystem.h>

namespace zenlo {

namespace {
class SystemSoundPlayer final : public SoundPlayer {
 public:
  unsigned DeviceCount() override { return waveOutGetNumDevs(); }
  void Beep() override { MessageBeep(MB_OK); }
  void PlayFile(const std::wstring& path) override { sndPlaySoundW(path.c_str(), SND_ASYNC); }
  void PlayMemory(const void* wave) override {
    sndPlaySoundW(static_cast<LPCWSTR>(wave), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
  }
};
}  // namespace

std::shared_ptr<SoundPlayer> MakeSoundPlayer() { return std::make_shared<SystemSoundPlayer>(); }

}  // namespace zenlo
