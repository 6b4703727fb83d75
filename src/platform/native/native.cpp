// Installs the machine's own layer as the game's seams.
#include "platform/native/native.h"

void InstallNativePlatform() {
  draw = NativeDraw();
  window = NativeWindow();
  keyboard = NativeKeyboard();
  gameclock = NativeClock();
}
