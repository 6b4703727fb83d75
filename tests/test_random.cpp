#include "defs/random.h"
#include "test_support.h"

// The old C runtime's generator: the same first values on every run and build.
TEST_F(Fresh, RandomDrawsTheClassicSequence) {
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int32_t v : expected) EXPECT_EQ(Rand(), v);
}

