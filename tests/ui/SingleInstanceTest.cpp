#include <gtest/gtest.h>

#include "app/CSingleInstance.h"

using namespace quillet;

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstIsGone) {
  auto first = std::make_unique<CSingleInstance>(QStringLiteral("QuilletAppTest"));
  ASSERT_TRUE(first->TryAcquire());
  CSingleInstance second(QStringLiteral("QuilletAppTest"));
  EXPECT_FALSE(second.TryAcquire());
  first.reset();
  EXPECT_TRUE(second.TryAcquire());
}
