// The program entry: reads the options, chooses the folder to play in,
// installs the machine's own layer as the seams (OpenGL, freeglut, X11
// keyboard, monotonic clock, OpenAL Soft), then runs the game, recording it
// into a demo or replaying one when asked.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/digest.h"
#include "defs/console.h"
#include "game.h"
#include "platform/demo.h"
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

const char kHelp[] =
    "usage: quarn [--record FILE | --play FILE]\n"
    "Plays Quarn in the data folder it is started in (elsewhere: in your own world\n"
    "folder, ~/.local/share/quarn/world).\n"
    "  --record FILE  play, recording the session into the demo FILE\n"
    "  --play FILE    replay the demo FILE in the window (Escape stops it)\n"
    "  --help         this text\n"
    "  --version      the version\n"
    "Keys: W Q walk right, left (with N: pick up)   P L jetpack up, down   J boost\n"
    "  O K I aim up, down, level   Return fire   F1-F7 weapons   Tab turn round\n"
    "  M drop   C throw   R remember   T teleport   1 HUD   0 menu\n"
    "  keypad 2 8 zoom in, out   F9 full screen   F10 window   Escape quit\n"
    "  2 editor: click paints, right click picks up, 3-6 mirror, 7 reload, 8 save,\n"
    "    Z undo, 9 tile set, arrows pan\n";

struct Options {
  const char* record = nullptr;
  const char* play = nullptr;
};

// Answers the exit status when the options end the program here, -1 to play.
int ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (a == "--version") {
      std::printf("quarn %s (demo format %u)\n", QUARN_VERSION, DEMO_VERSION);
      return 0;
    }
    const char** file = a == "--record" ? &o->record : a == "--play" ? &o->play : nullptr;
    if (file && i + 1 < argc && !*file && !(o->record || o->play)) {
      *file = argv[++i];
      continue;
    }
    if (file && (o->record || o->play))
      std::fprintf(stderr, "quarn: --record and --play go one at a time\n");
    else if (file)
      std::fprintf(stderr, "quarn: %s wants a FILE\n", a.c_str());
    else
      std::fprintf(stderr, "quarn: unknown option %s (quarn --help lists them)\n", a.c_str());
    return 2;
  }
  return -1;
}

int Refuse(const char* file, const std::string& why) {
  std::fprintf(stderr, "quarn: demo %s: %s\n", file, why.c_str());
  return 2;
}

// ---- the replay in the window: the demo's callbacks run in the loop's idle
// passes, one display pass each, so the display's wait paces it as it paced
// the game; the loop's own events reach the game no more.

bool stopped = false;   // the player stopped the replay

void StopReplay() {
  stopped = true;
  QuitQuarn();
}

void ReplayIdle() {
  if (NativeKeyboard()->KeyState(VK_ESCAPE)) return StopReplay();
  for (char t = ReplayStep(); t != 0; t = ReplayStep())
    if (t == 'D') return;
  NativeWindow()->Quit();   // the demo is over
}

void ReplayReshape(int w, int h) {
  if (h > 0) draw->Reshape(w, h, VIEW_FOVY, VIEW_ASPECT, VIEW_NEAR, VIEW_FAR);
}

void NoDisplay() {}
void NoMouse(int, int, int, int) {}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (int rc = ParseOptions(argc, argv, &o); rc >= 0) return rc;
  Demo demo;
  std::string why;
  if (o.play && !LoadDemo(o.play, &demo, &why)) return Refuse(o.play, why);
  std::error_code ec;
  std::string recording = o.record ? std::filesystem::absolute(o.record, ec).string() : "";
  EnterWorldFolder();
  if (o.play && !SameWorld(demo, &why)) return Refuse(o.play, why);
  InstallNativePlatform();
  audio = OpenALAudio();
  if (o.record) {
    if (!StartRecording(recording.c_str(), &why)) return Refuse(o.record, "cannot write it: " + why);
    SetLoopCallbacks({RecordIdle, RecordDisplay, RecordReshape, RecordMouse, RecordClose});
  }
  if (o.play) {
    if (!StartReplay(demo, audio, &why)) return Refuse(o.play, why);
    SetLoopCallbacks({ReplayIdle, NoDisplay, ReplayReshape, NoMouse, StopReplay});
    NativeDrawFillsWindow(true);
  }
  int rc = WinMain();
  if (!o.record && !o.play) return rc;
  uint64_t digest = DigestWorld().all;
  if (o.record) {
    uint32_t frames = 0;
    if (!FinishRecording(digest, &frames, &why)) {
      Say("demo %s: recording failed after %u frames: %s\n", o.record, frames, why.c_str());
      return 1;
    }
    Say("demo recorded to %s: %u frames, digest %016llx\n", o.record, frames, (unsigned long long)digest);
  }
  if (o.play) {
    rc = ReportReplay(o.play, demo, digest, stopped);
    EndReplay();
  }
  return rc;
}
