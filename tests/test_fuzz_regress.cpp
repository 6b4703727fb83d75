// Inputs kept from fuzzing the loaders (tests/fuzz_regress/<loader>/) run
// again through the same body the fuzzer ran, each in a data folder of its
// own: none may break a checked property, and the sanitizer build catches
// any memory fault they once caused.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../tools/fuzz/fuzz_bodies.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

fs::path KeptInputs() { return fs::path(__FILE__).parent_path() / "fuzz_regress"; }

struct FuzzRegress : Fresh, ::testing::WithParamInterface<fuzz::Body> {
  fuzz::WorkDir work;
  char home[PATH_MAX] = {};
  void SetUp() override {
    Fresh::SetUp();
    ASSERT_NE(::getcwd(home, sizeof home), nullptr);
    ASSERT_TRUE(work.Make());
    ASSERT_EQ(::chdir(work.path.c_str()), 0);
  }
  void TearDown() override {
    (void)!::chdir(home);
    work.Remove();
    Fresh::TearDown();
  }
};

TEST_P(FuzzRegress, KeptInputsRunClean) {
  fs::path folder = KeptInputs() / GetParam().name;
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no inputs kept for " << GetParam().name;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& f : files) {
    std::ifstream in(f, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char* broken = nullptr;
    Said([&] { broken = GetParam().run(bytes.data(), bytes.size()); });
    EXPECT_EQ(broken, nullptr) << f.filename() << ": " << broken;
  }
}

INSTANTIATE_TEST_SUITE_P(Loaders, FuzzRegress, ::testing::ValuesIn(fuzz::kBodies),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
