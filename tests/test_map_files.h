// Test helpers for the world's files: a fresh temporary working folder for each
// test (the game opens its data files relative to it) and small file helpers.
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
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    home = cwd;
    char tmpl[] = "/tmp/quarn-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
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
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  static std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    int c;
    while ((c = std::fgetc(f)) != EOF) out.push_back(uint8_t(c));
    std::fclose(f);
    return out;
  }
};
