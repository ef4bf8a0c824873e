#include <windows.h>
#include <mmsystem.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  // The chime plays from this library's resources: stop it before they go away.
  if (reason == DLL_PROCESS_DETACH) sndPlaySoundW(nullptr, 0);
  return TRUE;
}
