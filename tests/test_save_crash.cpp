// The editor's save never leaves a torn map and never clobbers what it should
// not. A save killed at any moment, or one whose writes fail, leaves the map
// file whole: exactly 262,144 bytes, the old map or the new one. A save keeps
// links, the mode and the owner of the file it replaces, and the user's own
// files beside it; it refuses a file the user may not write.
#include <dirent.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "test_map_files.h"

namespace {

constexpr size_t kMapBytes = 262144;
const char* const kMapName = "map\\phoebus.qnm";
const char* const kMapPath = "map/phoebus.qnm";

// A map whose every word depends on `seed` and on its place, so that any mix
// of two maps, or a shift, shows in the bytes.
void FillMap(uint32_t seed) {
  for (uint32_t k = 0; k < 65536; ++k) mapt[k / 256][k % 256] = seed * 0x9E3779B1u + k * 2654435761u;
}

std::vector<uint8_t> MapBytes() {
  std::vector<uint8_t> out(kMapBytes);
  for (size_t k = 0; k < 65536; ++k) {
    uint32_t w = mapt[k / 256][k % 256];
    for (int b = 0; b < 4; ++b) out[4 * k + size_t(b)] = uint8_t(w >> (8 * b));
  }
  return out;
}

// The files of a folder but for . and .., sorted.
std::vector<std::string> Files(const char* dir) {
  std::vector<std::string> out;
  if (DIR* d = ::opendir(dir)) {
    while (dirent* e = ::readdir(d))
      if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) out.push_back(e->d_name);
    ::closedir(d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Sleeps for `us` microseconds, resuming after signals.
void SleepMicros(long us) {
  timespec t{us / 1000000, (us % 1000000) * 1000};
  while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

struct SaveCrash : InTempFolder {
  std::vector<uint8_t> oldMap, newMap;
  void SetUp() override {
    InTempFolder::SetUp();
    Folder("map");
    FillMap(1);
    oldMap = MapBytes();
    FillMap(2);
    newMap = MapBytes();
  }
  // Saves map `seed` with the console line kept out of the test's output.
  static std::string Save(uint32_t seed) {
    FillMap(seed);
    return Said([&] { SaveMap(kMapName); });
  }
};

}  // namespace

// A child process saves the two maps in turn without pause; the test kills it
// with SIGKILL after a random delay, 100 times. Every time, the map file is
// one of the two maps, whole. The delays spread over about three saves, so
// the kills land in every phase: writing the new file, flushing it, renaming
// it over the old one, and between saves.
TEST_F(SaveCrash, KilledAtRandomMomentsLeavesAWholeMap) {
  ASSERT_EQ(Save(1), "map saved to map\\phoebus.qnm");

  // how long one save takes here
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) Save(uint32_t(2 - i % 2));
  long saveUs = long(std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - t0)
                         .count() /
                     5);
  if (saveUs < 50) saveUs = 50;

  std::mt19937 rng(20240611);
  std::uniform_int_distribution<long> delay(0, 3 * saveUs);
  int oldWhole = 0, newWhole = 0, tempLeft = 0, copiesBefore = 0;
  for (int round = 0; round < 100; ++round) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // the child: its console lines go nowhere; it saves until it is killed
      if (!std::freopen("/dev/null", "w", stdout)) ::_exit(2);
      for (uint32_t n = 0;; ++n) {
        FillMap(1 + n % 2);
        SaveMap(kMapName);
      }
    }
    SleepMicros(delay(rng));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saver stopped by itself";

    std::vector<uint8_t> file = ReadFile(kMapPath);
    ASSERT_EQ(file.size(), kMapBytes) << "round " << round;
    bool isOld = file == oldMap, isNew = file == newMap;
    ASSERT_TRUE(isOld || isNew) << "round " << round << ": the map file is a mix of two maps";
    oldWhole += isOld;
    newWhole += isNew;
    int copies = int(Files("map").size()) - 1;   // left by killed saves so far
    tempLeft += copies > copiesBefore;
    copiesBefore = copies;
  }
  std::printf("one save: %ld us; after 100 kills: old map %d, new map %d, temp file left %d\n",
              saveUs, oldWhole, newWhole, tempLeft);
  // the kills did land in different phases of a save
  EXPECT_GT(oldWhole, 0);
  EXPECT_GT(newWhole, 0);
  EXPECT_GT(tempLeft, 0);

  // the copies left by killed saves do not stand in the way of the next,
  // which loads back word for word
  EXPECT_EQ(Save(2), "map saved to map\\phoebus.qnm");
  EXPECT_TRUE(ReadFile(kMapPath) == newMap) << "the map file is not the new map";
  FillMap(3);
  EXPECT_EQ(Said([&] { InitialiseMap(kMapName); }), "map map\\phoebus.qnm loaded\n");
  EXPECT_TRUE(MapBytes() == newMap) << "the map loaded is not the map saved";
}

// What stands at the map's name, or beside it, before a save of the new map.
TEST_F(SaveCrash, ASaveKeepsLinksModesAndTheUsersFiles) {
  auto mode = [](const char* path) { struct stat st {}; ::stat(path, &st); return st.st_mode & 07777; };
  rlimit limit {};
  struct sigaction ignore {}, action {};
  ignore.sa_handler = SIG_IGN;
  struct Case {
    const char* name;
    std::function<void()> before;
    const char* line;   // after "map save"
    std::function<void()> after;
  } cases[] = {
      {"a symlink: its target takes the new map, the link stays",
       [&] { Folder("store"), WriteFile("store/real.qnm", oldMap), ::symlink("../store/real.qnm", kMapPath); },
       "d to map\\phoebus.qnm",
       [&] {
         char target[64] = {};
         EXPECT_EQ(std::string(target, size_t(::readlink(kMapPath, target, sizeof target))), "../store/real.qnm");
         EXPECT_TRUE(ReadFile("store/real.qnm") == newMap);
       }},
      {"a hard link: both names see the new map",
       [&] { Folder("store"), WriteFile(kMapPath, oldMap), ::link(kMapPath, "store/alias.qnm"); },
       "d to map\\phoebus.qnm",
       [&] {
         struct stat a {}, b {};
         EXPECT_EQ(::stat(kMapPath, &a) | ::stat("store/alias.qnm", &b), 0);
         EXPECT_EQ(std::make_tuple(a.st_ino, a.st_nlink), std::make_tuple(b.st_ino, nlink_t(2)));
         EXPECT_TRUE(ReadFile(kMapPath) == newMap && ReadFile("store/alias.qnm") == newMap);
       }},
      {"the user's own <map>.tmp and the map's mode 0640 are kept",
       [&] { WriteFile(kMapPath, oldMap), ::chmod(kMapPath, 0640), WriteFile("map/phoebus.qnm.tmp", {'m', 'e'}); },
       "d to map\\phoebus.qnm",
       [&] {
         EXPECT_TRUE(ReadFile(kMapPath) == newMap && mode(kMapPath) == 0640);
         EXPECT_EQ(ReadFile("map/phoebus.qnm.tmp"), (std::vector<uint8_t>{'m', 'e'}));
         EXPECT_EQ(Files("map"), (std::vector<std::string>{"phoebus.qnm", "phoebus.qnm.tmp"}));
       }},
      {"no map folder: it is made",
       [] { (void)!std::system("rm -r map"); }, "d to map\\phoebus.qnm",
       [&] { EXPECT_TRUE(ReadFile(kMapPath) == newMap); }},
      {"a folder at the map's name is left alone",
       [] { Folder(kMapPath); }, " to map\\phoebus.qnm failed: not a regular file\n",
       [] { EXPECT_EQ(Files("map"), std::vector<std::string>{"phoebus.qnm"}); }},
      {"a write cut short by a file size limit (SIGXFSZ ignored): the old map and the map in memory stay",
       [&] {
         WriteFile(kMapPath, oldMap);
         ::getrlimit(RLIMIT_FSIZE, &limit), ::sigaction(SIGXFSZ, &ignore, &action);
         rlimit small = limit;
         small.rlim_cur = 100000;
         ::setrlimit(RLIMIT_FSIZE, &small);
       },
       " to map\\phoebus.qnm failed: File too large\n",
       [&] {
         ::setrlimit(RLIMIT_FSIZE, &limit), ::sigaction(SIGXFSZ, &action, nullptr);
         EXPECT_TRUE(ReadFile(kMapPath) == oldMap && MapBytes() == newMap);
         EXPECT_EQ(Files("map"), std::vector<std::string>{"phoebus.qnm"});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    (void)!std::system("rm -rf map store && mkdir map");
    c.before();
    EXPECT_EQ(Save(2), std::string("map save") + c.line);
    c.after();
  }

  // As an ordinary user (the test drops to nobody where it runs as root), a
  // map the user may not write is refused with the reason and left as it was,
  // and so is a folder the user may not make; as root, the new file keeps the
  // old one's owner.
  const uid_t nobody = 65534;
  (void)!std::system("rm -rf map && mkdir map");
  ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
  WriteFile(kMapPath, oldMap);
  ASSERT_EQ(::chmod(kMapPath, 0444), 0);
  std::string said, refused = "map save to map\\phoebus.qnm failed: Permission denied\n";
  if (::geteuid() != 0) {
    said = Save(2);
  } else {
    refused += "map save to made\\phoebus.qnm failed: cannot make the folder made: Permission denied\n";
    ASSERT_EQ(::chown("map", nobody, nobody) | ::chown(kMapPath, nobody, nobody), 0);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (::setgroups(0, nullptr) || ::setgid(nobody) || ::setuid(nobody)) ::_exit(77);
      ::dup2(out[1], 1);
      FillMap(2);
      SaveMap(kMapName);
      SaveMap("made\\phoebus.qnm");
      std::fflush(stdout);
      ::_exit(0);
    }
    ::close(out[1]);
    char buf[256];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, size_t(n));
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot drop to the user nobody here";
  }
  EXPECT_EQ(said, refused);
  EXPECT_TRUE(ReadFile(kMapPath) == oldMap && mode(kMapPath) == 0444) << "the map file changed";
  EXPECT_EQ(Files("map"), std::vector<std::string>{"phoebus.qnm"});
  if (::geteuid() != 0) return;
  ASSERT_EQ(::chmod(kMapPath, 0640), 0);   // root may write it: the owner stays
  EXPECT_EQ(Save(2), "map saved to map\\phoebus.qnm");
  struct stat st {};
  EXPECT_EQ(::stat(kMapPath, &st), 0);
  EXPECT_EQ(std::make_tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::make_tuple(nobody, nobody, 0640u));
}
