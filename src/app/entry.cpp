// The program entry: chooses the folder to play in, installs the machine's own
// layer as the seams (OpenGL, freeglut, X11 keyboard, monotonic clock, OpenAL
// Soft), then runs the game.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "game.h"
#include "platform/native/native.h"
#include "platform/native/openal_audio.h"
#include "platform/worldfolder.h"

namespace {

// Outside a data folder the game plays in the player's own world folder.
void EnterWorldFolder() {
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  std::string program = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  std::string world = PlayersWorldFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  std::string line;
  std::string folder = ChooseWorldFolder(
      cwd, world, IsDataFolder(cwd) ? "" : InstalledWorld(program, std::getenv("XDG_DATA_DIRS")), line);
  if (!folder.empty() && chdir(folder.c_str()) != 0) line = "cannot enter " + folder + ": playing here";
  if (!line.empty()) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
}

}  // namespace

int main() {
  EnterWorldFolder();
  InstallNativePlatform();
  audio = OpenALAudio();
  return WinMain();
}
