// The program entry: installs the machine's own layer as the seams, then runs
// the game.
#include "game.h"
#include "platform/native/native.h"
#if __has_include("platform/native/openal_audio.h")
#include "platform/native/openal_audio.h"
#define QUARN_HAVE_OPENAL 1
#endif

int main() {
  InstallNativePlatform();
#ifdef QUARN_HAVE_OPENAL
  audio = OpenALAudio();
#endif
  return WinMain();
}
