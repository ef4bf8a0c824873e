#include <windows.h>
#include <mmsystem.h>

#include "toolkit/Window.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason != DLL_PROCESS_DETACH) return TRUE;
  // The chime plays from this library's resources: stop it before they go away.
  sndPlaySoundW(nullptr, 0);
  // Unloaded by FreeLibrary (not at process end): a copy loaded later registers the window
  // class again, with its own window procedure.
  if (!reserved) tk::UnregisterWindowClass();
  return TRUE;
}
