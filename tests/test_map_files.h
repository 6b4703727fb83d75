// Test helpers for the game's files: each test runs in a fresh temporary
// working folder (the game opens its data files relative to it).
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"

struct InTempFolder : Fresh {
  std::string home, dir;
  void SetUp() override {
    Fresh::SetUp();
    char cwd[PATH_MAX], tmpl[] = "/tmp/quarn-test-XXXXXX";
    ASSERT_TRUE(getcwd(cwd, sizeof cwd) && mkdtemp(tmpl));
    home = cwd, dir = tmpl;
    ASSERT_EQ(chdir(dir.c_str()), 0);
  }
  void TearDown() override {
    if (!home.empty()) (void)!chdir(home.c_str());
    if (!dir.empty()) (void)!std::system(("rm -rf '" + dir + "'").c_str());
    Fresh::TearDown();
  }
  static void Folder(const std::string& path) { (void)!std::system(("mkdir -p '" + path + "'").c_str()); }
  static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()) << path;
    std::fclose(f);
  }
  static std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
      for (int c; (c = std::fgetc(f)) != EOF;) out.push_back(uint8_t(c));
      std::fclose(f);
    }
    return out;
  }
};
