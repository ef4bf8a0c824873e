// Varnello.exe: starts with the splash, which loads the main window.
#include <windows.h>

#include "mainwindow/VarnelloApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return varnello::RunProgram([](varnello::VarnelloApp& app) { return app.Run(); });
}
