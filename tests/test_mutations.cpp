// The mutation list of tools/mutate fits the sources: every mutation finds its
// one place, so that the list cannot rot silently while the code changes.
#include <filesystem>

#include "../tools/mutate/mutations.h"
#include "test_support.h"

TEST(MutationList, EverySnippetStandsOnceInItsFile) {
  const std::string root = std::filesystem::path(__FILE__).parent_path().parent_path();
  std::string text;
  ASSERT_TRUE(mutate::ReadFile(root + "/tools/mutate/mutations.txt", &text));
  std::vector<std::string> problems;
  std::vector<mutate::Mutation> list = mutate::Parse(text, "mutations.txt", &problems);
  mutate::Check(list, root, "mutations.txt", &problems);
  for (const std::string& p : problems) ADD_FAILURE() << p;
  EXPECT_GE(list.size(), 80u);
}
