// One libFuzzer target: QUARN_FUZZ_BODY names the body of fuzz_bodies.h that
// each input runs. The game's console lines go to /dev/null unless
// QUARN_FUZZ_VERBOSE is set; a broken property aborts with its name.
#include <cstdio>
#include <cstdlib>

#include "fuzz_bodies.h"

namespace {
fuzz::WorkDir workdir;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!workdir.Make() || ::chdir(workdir.path.c_str()) != 0) {
    std::fprintf(stderr, "cannot make a work folder\n");
    std::abort();
  }
  std::atexit([] { workdir.Remove(); });
  if (!std::getenv("QUARN_FUZZ_VERBOSE")) {
    int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, 1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* broken = fuzz::QUARN_FUZZ_BODY(data, size)) {
    std::fprintf(stderr, "broken: %s\n", broken);
    std::abort();
  }
  return 0;
}
