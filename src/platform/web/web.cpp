// Installs the browser's layer as the game's seams.
#include "platform/web/web.h"

void InstallWebPlatform() {
  draw = WebDraw();
  window = WebWindow();
  keyboard = WebKeyboard();
  gameclock = WebClock();
}
