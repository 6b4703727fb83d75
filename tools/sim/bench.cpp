// quarn-bench: times the game's own frame (the idle pass and the display pass;
// the frame wait is zero with the instant clock) through the null drawing seam,
// in the data folder that is the working directory.
//
//   quarn-bench [--frames N] [--only NAME]
//
// One line per scenario:
//   scenario NAME: N frames, median X us, p99 Y us
//   start      the world as it starts, no keys
//   tour       the scripted tour of tour.h
//   entities   every entity slot live with an entity of a class that has mass,
//              spread over the open cells of the map
//   particles  every particle slot live, around the player
//   both       entities and particles together
// The tables are topped up before each frame, outside the timed part. A
// second line gives the frame's processor time (this thread's), which a busy
// machine disturbs less than the wall time. Then
// the start-up time (main to the first frame, and from process start) and the
// peak resident memory. The game's own console lines go to /dev/null.
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

#include "session.h"
#include "tour.h"

namespace {

using Steady = std::chrono::steady_clock;

struct Scatter {   // our own generator: the game's random sequence is not touched
  uint64_t s = 12345;
  uint32_t Next() {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return uint32_t(s >> 33);
  }
};

Scatter scatter;

// Fills every free entity slot with entities of the classes that have mass,
// in turn, at random open cells of the map.
void FillEntities() {
  static int kinds[MAX_CLASSES];
  static int nkinds = 0;
  if (nkinds == 0)
    for (int k = 1; k < MAX_CLASSES; ++k)
      if (k != man && EntityClass[k].mass != 0 && EntityClass[k].width > 0) kinds[nkinds++] = k;
  if (nkinds == 0) return;
  static int next = 0;
  for (int i = 1; i < MAX_ENTITIES; ++i) {
    if (Entities[i].kind != blank) continue;
    int32_t x = 0, y = 0;
    for (int tries = 0; tries < 64; ++tries) {
      x = int32_t(scatter.Next() % uint32_t(MAP_TILES * TILE_WSCALE));
      y = int32_t(scatter.Next() % uint32_t(MAP_TILES * TILE_HSCALE));
      if (GetXY(x, y) != 255) break;
    }
    eslot = i;   // the slot search starts here, so this slot is the one filled
    SpawnEntity(TEntityKind(kinds[next]), x, y, blank, 0, flNorm, 0, 0);
    next = (next + 1) % nkinds;
  }
}

// Fills every free particle slot with particles around player 0.
void FillParticles() {
  const TEntity& me = Entities[players[0].ent];
  for (int i = 1; i < MAX_PARTICLES; ++i) {
    if (Particles[i].colour != 0) continue;
    TParticle& p = Particles[i];
    p.x = me.x + int32_t(scatter.Next() % 102400) - 51200;
    p.y = me.y + int32_t(scatter.Next() % 76800) - 38400;
    p.dx = int32_t(scatter.Next() % 256) - 128;
    p.dy = int32_t(scatter.Next() % 256) - 128;
    p.colour = 0xF0 | int32_t(1 + scatter.Next() % 7);
    p.lifespan = 500;
    p.ptype = (i & 1) ? ptDot : ptGravDot;
  }
}

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

double Percentile(std::vector<double>& v, double q) {
  std::sort(v.begin(), v.end());
  size_t k = size_t(q * double(v.size()));
  if (k >= v.size()) k = v.size() - 1;
  return v[k];
}

sim::Session session;
FILE* figures = nullptr;   // the real standard output

void Scenario(const char* name, int frames, const sim::KeyScript* script, bool ents, bool parts) {
  session.script = script;
  session.Start();
  std::vector<double> us;
  us.reserve(size_t(frames));
  std::vector<double> cpu;
  cpu.reserve(size_t(frames));
  long long entSum = 0, partSum = 0;
  for (int f = 0; f < frames; ++f) {
    if (ents) FillEntities();
    if (parts) FillParticles();
    entSum += LiveEntities();
    partSum += LiveParticles();
    session.Feed();
    timespec c0, c1;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
    auto t0 = Steady::now();
    session.Run();
    auto t1 = Steady::now();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
    us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    cpu.push_back(double(c1.tv_sec - c0.tv_sec) * 1e6 + double(c1.tv_nsec - c0.tv_nsec) / 1e3);
  }
  double p99 = Percentile(us, 0.99), median = Percentile(us, 0.5);
  std::fprintf(figures, "scenario %s: %d frames, median %.1f us, p99 %.1f us\n", name, frames,
               median, p99);
  double cpuMedian = Percentile(cpu, 0.5), cpuP99 = Percentile(cpu, 0.99);
  std::fprintf(figures,
               "  (processor time: median %.1f us, p99 %.1f us; live at frame start: %.0f "
               "entities, %.0f particles on average)\n",
               cpuMedian, cpuP99, double(entSum) / frames, double(partSum) / frames);
  std::fflush(figures);
  session.Stop();
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

}  // namespace

int main(int argc, char** argv) {
  auto t0 = Steady::now();
  int frames = 2000;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--frames") frames = std::atoi(argv[i + 1]);
    else if (a == "--only") only = argv[i + 1];
    else frames = 0;
  }
  if (frames <= 0 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: quarn-bench [--frames N] [--only NAME]\n");
    return 2;
  }
  // The game's console lines would drown the figures: they go to /dev/null,
  // the figures to the real standard output.
  figures = fdopen(dup(1), "w");
  if (!figures || !std::freopen("/dev/null", "w", stdout)) return 1;

  // Start-up, then the first frame.
  session.Start();
  double sinceStart = SinceProcessStart();
  auto t1 = Steady::now();
  session.Step();
  auto t2 = Steady::now();
  session.Stop();
  std::fprintf(figures, "start-up: %.1f ms from main to the first frame (%.0f ms from process "
               "start), first frame %.1f us\n",
               std::chrono::duration<double, std::milli>(t1 - t0).count(), sinceStart * 1000.0,
               std::chrono::duration<double, std::micro>(t2 - t1).count());

  sim::KeyScript tour;
  std::string err;
  if (!tour.Parse(sim::TourScript(), &err)) return 1;
  auto want = [&](const char* name) { return only.empty() || only == name; };
  if (want("start")) Scenario("start", frames, nullptr, false, false);
  if (want("tour")) Scenario("tour", tour.End(), &tour, false, false);
  if (want("entities")) Scenario("entities", frames, nullptr, true, false);
  if (want("particles")) Scenario("particles", frames, nullptr, false, true);
  if (want("both")) Scenario("both", frames, nullptr, true, true);

  rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  std::fprintf(figures, "peak memory: %ld KiB resident (ru_maxrss)\n", ru.ru_maxrss);
  std::fclose(figures);
  return 0;
}
