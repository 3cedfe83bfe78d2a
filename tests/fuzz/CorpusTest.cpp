// Every input the fuzzers kept, run again through the same entry points.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/FuzzTargets.h"
#include "support/TempDir.h"

using namespace quillet;

TEST(FuzzCorpus, EveryKeptInputStillPasses) {
  int inputs = 0;
  for (const auto& target : fuzz::kTargets) {
    const std::filesystem::path dir = std::filesystem::path(QUILLET_FUZZ_CORPUS) / target.name;
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      const auto bytes = test::ReadAll(entry.path().string());
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(target.fn(bytes.data(), bytes.size()), 0);
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 3);
}
