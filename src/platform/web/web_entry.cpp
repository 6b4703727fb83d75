// The program entry in the page: the default world lies in /world (packed with
// the page), the player's kept map is put back over it, the browser's layer
// becomes the seams with OpenAL (the browser's Web Audio, which starts at the
// first key or click) as the sound device, and the game starts. The page goes
// on running its frames after main returns.
#include <sys/stat.h>
#include <unistd.h>

#include "game.h"
#include "platform/native/openal_audio.h"
#include "platform/web/web.h"

int main() {
  // emscripten starts with a umask of 0777, which would make every new file
  // (the painting kept at quit) unreadable; a process's usual one instead
  umask(022);
  (void)!chdir("/world");
  RestoreKeptMap();
  InstallWebPlatform();
  audio = OpenALAudio();
  return WinMain();
}
