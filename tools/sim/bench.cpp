// quarn-bench: times the game's own frame (the idle pass and the display pass;
// the frame wait is zero with the instant clock), in the data folder that is
// the working directory.
//
//   quarn-bench [--frames N] [--only NAME] [--literal | --gl]
//
// Scenarios:
//   start      the world as it starts, no keys
//   hud        the same with the HUD switched on (the key goes down in frame 1)
//   tour       the scripted tour of tour.h
//   entities   every entity slot live with an entity of a class that has mass,
//              spread over the open cells of the map
//   particles  every particle slot live, around the player
//   both       entities and particles together
// The tables are topped up before each frame, outside the timed part, from a
// generator of the benchmark's own that starts afresh with every scenario.
// Each scenario prints
//   scenario NAME: N frames, median X us, p99 Y us[; literal: ...]
//     (processor time: median X us, p99 Y us[; literal: ...]; live at frame start: ...)
//   digest NAME: HEX
// the second line being this thread's processor time (with --gl the whole
// process's, the renderer's own threads included), which a busy machine
// disturbs less than the wall time, and the last the world digest after the
// last frame.
//
// Without options the drawing seam is the null one and the fast searches run.
// For entities and both the same frames are run again with the
// straightforward searches (the collision search, the particle slot search
// and pass), whose figures follow on the scenario line after "literal:"; the
// two runs must end in the same world, or the literal digest is printed too
// and the exit code is 1. --literal runs every scenario with the
// straightforward searches only.
//
// --gl draws through the machine's GL drawer in a real window (DISPLAY) and
// waits for GL to finish after every frame, inside the timed part. It first
// times the floor of the window, frames that only clear and swap; each
// scenario is then run with the batched drawer and again with the one that
// makes a GL call for every drawing call, whose figures follow "immediate:".
// --frames defaults to 2000, with --gl to 300 (the tour always runs its 2,400).
//
// Then the start-up time (main to the first frame, and from process start) and
// the peak resident memory. The game's console lines go to /dev/null.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/digest.h"
#include "fill.h"
#include "glwindow.h"
#include "session.h"
#include "tour.h"

namespace {

using Steady = std::chrono::steady_clock;

sim::Filler filler;

int LiveEntities() {
  int n = 0;
  for (const TEntity& e : Entities) n += e.kind != blank;
  return n;
}

int LiveParticles() {
  int n = 0;
  for (const TParticle& p : Particles) n += p.colour != 0;
  return n;
}

double Percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  size_t k = size_t(q * double(v.size()));
  if (k >= v.size()) k = v.size() - 1;
  return v[k];
}

bool gl = false;

double CpuUs() {
  timespec c;
  clock_gettime(gl ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_THREAD_CPUTIME_ID, &c);
  return double(c.tv_sec) * 1e6 + double(c.tv_nsec) / 1e3;
}

sim::Session session;
FILE* figures = nullptr;   // the real standard output

struct Timing {
  std::vector<double> us, cpu;   // wall and processor time of every frame
  double entities = 0, particles = 0;
  uint64_t digest = 0;

  void Add(Steady::time_point t0, double c0) {
    us.push_back(std::chrono::duration<double, std::micro>(Steady::now() - t0).count());
    cpu.push_back(CpuUs() - c0);
  }
  double Median() const { return Percentile(us, 0.5); }
  double P99() const { return Percentile(us, 0.99); }
};

// Plays one scenario from a fresh start.
Timing Play(int frames, const sim::KeyScript* script, bool ents, bool parts) {
  filler = sim::Filler{};
  session.script = script;
  session.Start();
  Timing t;
  t.us.reserve(size_t(frames));
  t.cpu.reserve(size_t(frames));
  for (int f = 0; f < frames; ++f) {
    if (ents) filler.Entities();
    if (parts) filler.Particles();
    t.entities += LiveEntities();
    t.particles += LiveParticles();
    session.Feed();
    if (gl) glwin::Pump();
    const double c0 = CpuUs();
    const auto t0 = Steady::now();
    session.Run();
    if (gl) glwin::Finish();
    t.Add(t0, c0);
  }
  t.entities /= frames;
  t.particles /= frames;
  t.digest = DigestWorld().all;
  session.Stop();
  return t;
}

// The floor of the window: frames that only clear and swap.
Timing Floor(int frames) {
  session.script = nullptr;
  session.Start();
  glwin::Pump();
  Timing t;
  for (int f = 0; f < frames; ++f) {
    glwin::Pump();
    const double c0 = CpuUs();
    const auto t0 = Steady::now();
    draw->Clear();
    draw->SwapBuffers();
    glwin::Finish();
    t.Add(t0, c0);
  }
  session.Stop();
  return t;
}

int status = 0;

// Runs a scenario, and for the heavy ones with the reference beside it.
void Scenario(const char* name, int frames, const sim::KeyScript* script, bool ents, bool parts) {
  const bool beside = gl || (searchmode == smFast && ents);
  session.drawer = gl ? glwin::Drawer(false) : nullptr;
  Timing t = Play(frames, script, ents, parts);
  Timing ref;
  if (beside) {
    const TSearchMode mode = searchmode;
    if (gl) session.drawer = glwin::Drawer(true);
    else searchmode = smLiteral;
    ref = Play(frames, script, ents, parts);
    searchmode = mode;
  }
  std::fprintf(figures, "scenario %s: %d frames, median %.1f us, p99 %.1f us", name, frames,
               t.Median(), t.P99());
  if (beside)
    std::fprintf(figures, "; %s: median %.1f us, p99 %.1f us, %.1f times the median above",
                 gl ? "immediate" : "literal", ref.Median(), ref.P99(), ref.Median() / t.Median());
  std::fprintf(figures, "\n  (processor time: median %.1f us, p99 %.1f us",
               Percentile(t.cpu, 0.5), Percentile(t.cpu, 0.99));
  if (beside)
    std::fprintf(figures, "; %s: median %.1f us", gl ? "immediate" : "literal",
                 Percentile(ref.cpu, 0.5));
  std::fprintf(figures, "; live at frame start: %.0f entities, %.0f particles on average)\n",
               t.entities, t.particles);
  std::fprintf(figures, "digest %s: %016llx\n", name, static_cast<unsigned long long>(t.digest));
  if (beside && ref.digest != t.digest) {
    std::fprintf(figures, "digest %s (%s): %016llx differs\n", name, gl ? "immediate" : "literal",
                 static_cast<unsigned long long>(ref.digest));
    status = 1;
  }
  std::fflush(figures);
}

// Seconds since the process started, from the kernel's start time (clock
// ticks since boot, so a resolution of 1/CLK_TCK).
double SinceProcessStart() {
  FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char buf[1024];
  size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  buf[n] = 0;
  const char* p = std::strrchr(buf, ')');
  if (!p) return -1;
  // fields after the command: state is field 3, starttime is field 22
  int field = 2;
  for (; *p && field < 22; ++p)
    if (*p == ' ') ++field;
  unsigned long long start = std::strtoull(p, nullptr, 10);
  timespec now;
  clock_gettime(CLOCK_BOOTTIME, &now);
  double tck = double(sysconf(_SC_CLK_TCK));
  return double(now.tv_sec) + double(now.tv_nsec) / 1e9 - double(start) / tck;
}

int Usage() {
  std::fprintf(stderr, "usage: quarn-bench [--frames N] [--only NAME] [--literal | --gl]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  auto t0 = Steady::now();
  int frames = 0;
  std::string only;
  bool literal = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool more = i + 1 < argc;
    if (a == "--frames" && more) {
      frames = std::atoi(argv[++i]);
      if (frames <= 0) return Usage();
    } else if (a == "--only" && more) {
      only = argv[++i];
    } else if (a == "--literal") {
      literal = true;
    } else if (a == "--gl") {
      gl = true;
    } else {
      return Usage();
    }
  }
  if (literal && gl) return Usage();
  if (frames == 0) frames = gl ? 300 : 2000;
  searchmode = literal ? smLiteral : smFast;
  // The game's console lines would drown the figures: they go to /dev/null,
  // the figures to the real standard output.
  figures = fdopen(dup(1), "w");
  if (!figures || !std::freopen("/dev/null", "w", stdout)) return 1;

  // Start-up, then the first frame.
  if (gl) {
    session.realWindow = glwin::TheWindow();
    session.drawer = glwin::Drawer(false);
  }
  session.Start();
  double sinceStart = SinceProcessStart();
  auto t1 = Steady::now();
  if (gl) glwin::Pump();
  session.Step();
  auto t2 = Steady::now();
  session.Stop();
  std::fprintf(figures, "start-up: %.1f ms from main to the first frame (%.0f ms from process "
               "start), first frame %.1f us\n",
               std::chrono::duration<double, std::milli>(t1 - t0).count(), sinceStart * 1000.0,
               std::chrono::duration<double, std::micro>(t2 - t1).count());

  if (gl) {
    Timing t = Floor(frames);
    std::fprintf(figures,
                 "floor: %d frames that only clear and swap, median %.1f us, p99 %.1f us\n",
                 frames, t.Median(), t.P99());
  }
  sim::KeyScript tour, hud;
  std::string err;
  if (!tour.Parse(sim::TourScript(), &err) || !hud.Parse("1 1", &err)) return 1;
  auto want = [&](const char* name) { return only.empty() || only == name; };
  if (want("start")) Scenario("start", frames, nullptr, false, false);
  if (want("hud")) Scenario("hud", frames, &hud, false, false);
  if (want("tour")) Scenario("tour", tour.End(), &tour, false, false);
  if (want("entities")) Scenario("entities", frames, nullptr, true, false);
  if (want("particles")) Scenario("particles", frames, nullptr, false, true);
  if (want("both")) Scenario("both", frames, nullptr, true, true);

  rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  std::fprintf(figures, "peak memory: %ld KiB resident (ru_maxrss)\n", ru.ru_maxrss);
  std::fclose(figures);
  return status;
}
