// A short soak: seeded random keys on the default world (walking, flying,
// firing, picking up, the menu, the editor with clicks), with the tables'
// invariants checked after every frame. The long soak is the same run with
// quarn-sim --random-keys SEED --frames 1000000 --check.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "../tools/sim/session.h"
#include "app/digest.h"
#include "platform/testseams.h"
#include "test_support.h"

namespace {

sim::Session session;

TEST(Soak, TwentyThousandRandomFramesKeepEveryTableSound) {
  const uint64_t seed = 20261206;   // a failure reproduces with quarn-sim --random-keys 20261206
  std::string data = (BuildDir() / "data").string();
  ASSERT_EQ(access((data + "/map/phoebus.qnm").c_str(), R_OK), 0) << data;
  int cwd = open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(chdir(data.c_str()), 0);
  char why[256] = "";
  int broken = -1, menuFrames = 0, editorFrames = 0, maxParticles = 0;
  {
    QuietConsole quiet;
    sim::RandomKeys random(seed);   // never saves: the default world's map stays as built
    session.random = &random;
    session.Start();
    while (session.frame < 20000 && !session.win.quit) {
      session.Step();
      menuFrames += mnu_disp != 0;
      editorFrames += MapEditState.editing != 0;
      maxParticles = std::max(maxParticles, LiveParticles());
      if (!CheckWorldInvariants(why, sizeof why)) {
        broken = session.frame;
        break;
      }
    }
    session.Stop();
    ResetGlobals();
  }
  EXPECT_EQ(fchdir(cwd), 0);
  close(cwd);

  EXPECT_EQ(broken, -1) << "after frame " << broken << ": " << why;
  EXPECT_EQ(session.frame, 20000);
  // the keys reached the menu, the editor and the particle table
  EXPECT_GT(menuFrames, 0);
  EXPECT_GT(editorFrames, 0);
  EXPECT_GT(maxParticles, 100);
}

}  // namespace
