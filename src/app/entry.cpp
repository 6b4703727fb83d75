// The program entry: installs the machine's own layer as the seams (OpenGL,
// freeglut, X11 keyboard, monotonic clock, OpenAL Soft), then runs the game.
#include "game.h"
#include "platform/native/native.h"
#include "platform/native/openal_audio.h"

int main() {
  InstallNativePlatform();
  audio = OpenALAudio();
  return WinMain();
}
