// Shared fixtures: every test starts from a fresh process's state.
#pragma once
#include <gtest/gtest.h>

#include "game.h"
#include "platform/platform.h"

struct Fresh : ::testing::Test {
  void SetUp() override {
    ResetGlobals();
    ResetPlatform();
  }
  void TearDown() override { ResetPlatform(); }
};
