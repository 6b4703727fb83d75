// quarn-mutate: applies each mutation of the list to the game's sources, one at
// a time, rebuilds incrementally, runs the unit and scenario tests (not the
// recorded-digest sessions) and counts the mutants the tests kill.
//
// Every mutated file is put back as it was after its mutant, also when the
// run is interrupted (Ctrl-C, SIGTERM); a run killed outright leaves a journal
// in the build folder, and the next run puts the file back before anything else.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "mutations.h"

namespace {

const char kUsage[] =
    "usage: quarn-mutate [--root DIR] [--build DIR] [--list FILE] [--only N[,N...]]\n"
    "                    [--without TESTS] [--check]\n"
    "  --root DIR       the source tree (default: the one this was built from)\n"
    "  --build DIR      the build folder to rebuild and test in (default: ROOT/build)\n"
    "  --list FILE      the mutations (default: ROOT/tools/mutate/mutations.txt)\n"
    "  --only N,...     run only these mutations (numbered from 1 in list order)\n"
    "  --without TESTS  leave these tests out too (a gtest filter such as\n"
    "                   'Suite.*:Other.Name'), to see what they alone catch\n"
    "  --check          only check that every snippet is found exactly once\n";

// Left out: the recorded-digest sessions, and the check of this list, which
// reads the sources and so fails on every mutant. The slow tests run after
// the others, so that most mutants are caught before them.
const std::string kLeftOut = "Sessions/RecordedSession.*:MutationList.*";
const std::string kSlow = "Soak.*:DefaultWorld.*:GeneratedWorld*:SaveCrash.*";
constexpr int kTestSeconds = 600;   // a mutant that hangs the tests counts as killed

volatile sig_atomic_t interrupted = 0;
volatile pid_t child = 0;   // the process group of the command running now

void OnSignal(int) {
  interrupted = 1;
  if (child > 0) kill(-child, SIGKILL);
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Writes through a temporary file renamed over the target, so that the file
// is always whole.
bool WriteFile(const std::string& path, const std::string& data) {
  const std::string tmp = path + ".mutate-tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = std::fclose(f) == 0 && ok;
  return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

// Runs a command with its output appended to the log, in a process group of
// its own; true when it exits with 0 within `limit` seconds.
bool Run(const std::vector<std::string>& cmd, const std::string& log, int limit = 0) {
  if (FILE* f = std::fopen(log.c_str(), "a")) {
    std::fputs("\n$", f);
    for (const std::string& a : cmd) std::fprintf(f, " %s", a.c_str());
    std::fputs("\n", f);
    std::fclose(f);
  }
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    int fd = open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    dup2(fd, 1), dup2(fd, 2), close(fd);
    std::vector<char*> argv;
    for (const std::string& a : cmd) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid < 0) return false;
  setpgid(pid, pid);
  child = pid;
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (limit > 0 && Seconds(start) > limit) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  child = 0;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Keeps the original of the file being mutated until it is back in place.
struct Journal {
  std::string path;
  void PutBackLeftOver() const {
    std::string j;
    if (!mutate::ReadFile(path, &j)) return;
    const size_t eol = j.find('\n');
    const std::string file = j.substr(0, eol);
    if (eol != std::string::npos && WriteFile(file, j.substr(eol + 1)))
      std::printf("put back %s, left mutated by an earlier run\n", file.c_str());
    std::remove(path.c_str());
  }
  bool Hold(const std::string& file, const std::string& original) const {
    return WriteFile(path, file + "\n" + original);
  }
  void Release() const { std::remove(path.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  std::string root = QUARN_SOURCE_DIR, build, list, only, without;
  bool checkOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--root" && more) root = argv[++i];
    else if (a == "--build" && more) build = argv[++i];
    else if (a == "--list" && more) list = argv[++i];
    else if (a == "--only" && more) only = argv[++i];
    else if (a == "--without" && more) without = argv[++i];
    else if (a == "--check") checkOnly = true;
    else return std::fputs(kUsage, stderr), 2;
  }
  if (build.empty()) build = root + "/build";
  if (list.empty()) list = root + "/tools/mutate/mutations.txt";

  const Journal journal{build + "/mutate-journal"};
  journal.PutBackLeftOver();
  std::string text;
  std::vector<std::string> problems;
  if (!mutate::ReadFile(list, &text)) return std::fprintf(stderr, "no list %s\n", list.c_str()), 2;
  std::vector<mutate::Mutation> mutations = mutate::Parse(text, list, &problems);
  mutate::Check(mutations, root, list, &problems);
  for (const std::string& p : problems) std::printf("%s\n", p.c_str());
  if (!problems.empty()) return 1;
  if (checkOnly) return std::printf("mutations: %zu, every snippet found once\n", mutations.size()), 0;

  const std::string tests = build + "/tests/quarn_tests";
  if (access(tests.c_str(), X_OK) != 0)
    return std::fprintf(stderr, "no %s: build first (bash scripts/setup.sh %s)\n", tests.c_str(), build.c_str()), 2;
  if (!only.empty()) {
    std::set<int> wanted;
    std::istringstream ids(only);
    for (std::string id; std::getline(ids, id, ',');) wanted.insert(std::atoi(id.c_str()));
    std::vector<mutate::Mutation> some;
    for (const mutate::Mutation& m : mutations)
      if (wanted.count(m.number)) some.push_back(m);
    mutations = some;
  }

  signal(SIGINT, OnSignal);
  signal(SIGTERM, OnSignal);
  const std::string log = build + "/mutate.log";
  std::fclose(std::fopen(log.c_str(), "w"));
  setenv("QUARN_SOURCE_DIR", root.c_str(), 1);
  const std::vector<std::string> buildCmd = {"cmake", "--build", build, "-j2", "--target", "quarn_tests", "quarn-sim"};
  const std::string quick = "-" + kLeftOut + ":" + kSlow + (without.empty() ? "" : ":" + without);
  const std::string slow = kSlow + (without.empty() ? "" : "-" + without);
  auto passes = [&] {
    for (const std::string& filter : {quick, slow})
      if (!Run({tests, "--gtest_filter=" + filter, "--gtest_fail_fast", "--gtest_brief=1"}, log, kTestSeconds))
        return false;
    return true;
  };

  const auto started = std::chrono::steady_clock::now();
  if (!(Run(buildCmd, log) && passes())) {
    if (interrupted) return std::printf("interrupted\n"), 130;
    std::printf("the unmutated sources do not build or pass their tests: see %s\n", log.c_str());
    return 2;
  }
  std::vector<const mutate::Mutation*> killed, survived, stillborn;
  for (const mutate::Mutation& m : mutations) {
    if (interrupted) break;
    const std::string path = root + "/" + m.path;
    std::string original;
    if (!mutate::ReadFile(path, &original) || !journal.Hold(path, original))
      return std::printf("cannot read %s or keep its original\n", path.c_str()), 2;
    std::string mutant = original;
    mutant.replace(mutant.find(m.Snippet()), m.Snippet().size(), m.Replacement());
    const auto t0 = std::chrono::steady_clock::now();
    const char* verdict;
    if (!WriteFile(path, mutant) || !Run(buildCmd, log)) verdict = "did not build", stillborn.push_back(&m);
    else if (passes()) verdict = "SURVIVED", survived.push_back(&m);
    else verdict = "killed", killed.push_back(&m);
    if (!WriteFile(path, original)) return std::printf("cannot put %s back: see %s\n", path.c_str(), journal.path.c_str()), 2;
    journal.Release();
    if (interrupted) break;
    std::printf("%-13s %s (%.0f s)\n", verdict, m.Name().c_str(), Seconds(t0));
    std::fflush(stdout);
  }
  if (interrupted) return std::printf("interrupted: every mutated file is back as it was\n"), 130;
  Run(buildCmd, log);   // the build folder is left built from the sources as they are

  std::printf("mutants: %zu, killed: %zu, survived: %zu\n", killed.size() + survived.size(), killed.size(),
              survived.size());
  for (const mutate::Mutation* m : survived) std::printf("  survived: %s\n", m->Name().c_str());
  for (const mutate::Mutation* m : stillborn) std::printf("  did not build: %s\n", m->Name().c_str());
  std::printf("%.0f s; the builds and test runs are in %s\n", Seconds(started), log.c_str());
  return 0;
}
