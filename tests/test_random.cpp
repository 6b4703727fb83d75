#include "defs/random.h"
#include "test_support.h"

// The old C runtime's generator: the same first values on every run and build.
TEST_F(Fresh, RandomDrawsTheClassicSequence) {
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int32_t v : expected) EXPECT_EQ(Rand(), v);
}

TEST_F(Fresh, RandomStaysInRangeAndResets) {
  for (int i = 0; i < 100000; ++i) {
    int32_t v = Rand();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
  ResetRand();
  EXPECT_EQ(Rand(), 41);
}
