// quarn-sim: runs the game without a window, sound device or keyboard in the
// data folder that is the working directory, for a number of frames, and
// prints world digests.
//
//   quarn-sim [--frames N] [--script FILE | --tour] [--random-keys SEED]
//             [--allow-save] [--digest-every K] [--check] [--literal | --compare]
//             [--gl [--immediate] [--shot N FILE]...]
//   quarn-sim --play FILE [--digest-every K] [--check] [--literal | --compare]
//
// The game's console lines go to standard output exactly as the game prints
// them. Digests go to standard error, one line each:
//   digest frame N all=... frame=... map=... (see app/digest.h)
// after every K frames with --digest-every, and always after the last frame.
// --frames defaults to the end of the script (1000 with random keys only).
// --check tests the tables' invariants after every frame and stops with exit
// code 3 at the first broken one. The collision search, the particle slot
// search and the particle pass each have a fast way and a straightforward
// one: --literal runs the straightforward ones only; --compare runs both,
// keeps the straightforward answers and stops with exit code 3 at the first
// frame in which they disagreed.
// --gl draws every frame through the machine's GL drawer in a real window
// (DISPLAY), batched, or with --immediate one GL call for every drawing call;
// --shot N FILE saves the picture of frame N (counted from 0) as a binary PPM.
// The window's close and the quit key do not end such a run.
// Exit code 2 for bad options or script.
// The key script format is described in session.h; --tour runs the built-in
// tour of tour.h. --play replays a demo recorded by `quarn --record` as fast
// as it can, and ends with the line the game's replay prints: exit code 1 when
// the replay went out of step or its digest differs from the recorded one, 2
// when the file is not a sound demo of this world.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/digest.h"
#include "glwindow.h"
#include "platform/demo.h"
#include "session.h"
#include "tour.h"

namespace {

void PrintDigest(int frame) {
  char line[512];
  FormatDigest(DigestWorld(), line, sizeof line);
  std::fprintf(stderr, "digest frame %d %s\n", frame, line);
  std::fflush(stderr);
}

int Usage(const char* why) {
  std::fprintf(stderr,
               "quarn-sim: %s\nusage: quarn-sim [--frames N] [--script FILE | --tour] "
               "[--random-keys SEED] [--allow-save] [--digest-every K] [--check]\n"
               "       [--literal | --compare]\n"
               "       [--gl [--immediate] [--shot N FILE]...]\n"
               "       quarn-sim --play FILE [--digest-every K] [--check] [--literal | --compare]\n",
               why);
  return 2;
}

struct Shot {
  long long frame;
  const char* file;
};
std::vector<Shot> shots;
const sim::Session* running = nullptr;

// The file for the picture of the frame being drawn, if one was asked for.
const char* ShotFile() {
  for (const Shot& s : shots)
    if (s.frame == running->frame) return s.file;
  return nullptr;
}

bool ParseCount(const char* s, long long* v) {
  char* end = nullptr;
  *v = std::strtoll(s, &end, 10);
  return *s && *end == 0 && *v >= 0;
}

// Replays the demo at `path` headless; answers the exit code.
int Play(const char* path, long long every, bool check) {
  static Demo demo;
  std::string why;
  if (!LoadDemo(path, &demo, &why) || !SameWorld(demo, &why)) {
    std::fprintf(stderr, "quarn-sim: demo %s: %s\n", path, why.c_str());
    return 2;
  }
  auto t0 = std::chrono::steady_clock::now();
  static sim::Session s;
  s.Install();
  if (!StartReplay(demo, NoAudio(), &why)) {
    std::fprintf(stderr, "quarn-sim: demo %s: %s\n", path, why.c_str());
    return 2;
  }
  WinMain();
  char broken[256];
  for (char t = ReplayStep(); t != 0; t = ReplayStep()) {
    if (t != 'D') continue;
    int frame = int(Replaying().frames);
    if (check && !CheckWorldInvariants(broken, sizeof broken)) {
      std::fprintf(stderr, "invariant broken after frame %d: %s\n", frame, broken);
      PrintDigest(frame);
      EndReplay();
      return 3;
    }
    if (searchmismatches != 0) {
      std::fprintf(stderr, "the fast searches disagreed with the straightforward ones %lld "
                   "time(s) in frame %d\n", static_cast<long long>(searchmismatches), frame);
      PrintDigest(frame);
      EndReplay();
      return 3;
    }
    if (every > 0 && frame % every == 0) PrintDigest(frame);
  }
  PrintDigest(int(Replaying().frames));
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::fprintf(stderr, "ran %u frames in %.1f s\n", Replaying().frames, secs);
  int rc = ReportReplay(path, demo, DigestWorld().all, false);
  EndReplay();
  s.Stop();
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  long long frames = -1, every = 0, seed = -1;
  const char* scriptPath = nullptr;
  const char* playPath = nullptr;
  bool check = false, allowSave = false, tour = false, literal = false, compare = false,
       gl = false, immediate = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool more = i + 1 < argc;
    if (a == "--frames" && more) {
      if (!ParseCount(argv[++i], &frames)) return Usage("bad --frames");
    } else if (a == "--digest-every" && more) {
      if (!ParseCount(argv[++i], &every)) return Usage("bad --digest-every");
    } else if (a == "--random-keys" && more) {
      if (!ParseCount(argv[++i], &seed)) return Usage("bad --random-keys");
    } else if (a == "--script" && more) {
      scriptPath = argv[++i];
    } else if (a == "--play" && more) {
      playPath = argv[++i];
    } else if (a == "--tour") {
      tour = true;
    } else if (a == "--check") {
      check = true;
    } else if (a == "--allow-save") {
      allowSave = true;
    } else if (a == "--literal") {
      literal = true;
    } else if (a == "--compare") {
      compare = true;
    } else if (a == "--gl") {
      gl = true;
    } else if (a == "--immediate") {
      immediate = true;
    } else if (a == "--shot" && i + 2 < argc) {
      long long n;
      if (!ParseCount(argv[++i], &n)) return Usage("bad --shot frame");
      shots.push_back({n, argv[++i]});
    } else {
      return Usage(("unknown option " + a).c_str());
    }
  }

  if ((immediate || !shots.empty()) && !gl) return Usage("--immediate and --shot draw with --gl");
  if (literal && compare) return Usage("--literal and --compare exclude each other");
  searchmode = literal ? smLiteral : compare ? smChecked : smFast;
  searchmismatches = 0;
  if (playPath) {
    if (scriptPath || tour || seed >= 0 || frames >= 0 || allowSave || gl)
      return Usage("--play takes only --digest-every, --check, --literal and --compare");
    return Play(playPath, every, check);
  }
  sim::KeyScript script;
  if (scriptPath && tour) return Usage("--script and --tour exclude each other");
  bool scripted = scriptPath || tour;
  if (scripted) {
    std::string text, err;
    if (tour) text = sim::TourScript();
    else if (!sim::ReadFile(scriptPath, &text)) return Usage("cannot read the script");
    if (!script.Parse(text, &err)) return Usage(("script " + err).c_str());
  }
  if (frames < 0) frames = scripted ? script.End() : seed >= 0 ? 1000 : 0;
  if (frames > 2000000000LL) return Usage("too many frames");

  sim::RandomKeys random(uint64_t(seed < 0 ? 0 : seed));
  random.allowSave = allowSave;

  auto t0 = std::chrono::steady_clock::now();
  static sim::Session s;   // large key tables stay off the stack
  s.script = scripted ? &script : nullptr;
  s.random = seed >= 0 ? &random : nullptr;
  if (gl) {
    s.realWindow = glwin::TheWindow();
    s.drawer = glwin::Drawer(immediate);
    running = &s;
    glwin::SaveFrames(ShotFile);
  }
  s.Start();
  char why[256];
  while (s.frame < frames && !s.win.quit) {
    if (gl) glwin::Pump();
    s.Step();
    if (check && !CheckWorldInvariants(why, sizeof why)) {
      std::fprintf(stderr, "invariant broken after frame %d: %s\n", s.frame, why);
      PrintDigest(s.frame);
      return 3;
    }
    if (searchmismatches != 0) {
      std::fprintf(stderr, "the fast searches disagreed with the straightforward ones %lld "
                   "time(s) in frame %d\n", static_cast<long long>(searchmismatches), s.frame);
      PrintDigest(s.frame);
      return 3;
    }
    if (every > 0 && s.frame % every == 0 && s.frame < frames) PrintDigest(s.frame);
  }
  PrintDigest(s.frame);
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::fprintf(stderr, "ran %d frames in %.1f s%s\n", s.frame, secs, s.win.quit ? " (quit)" : "");
  s.Stop();
  return 0;
}
