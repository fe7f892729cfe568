// GDI+ for a whole test run, as the application starts it; for the gtest executables.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "controls_test_support.h"

namespace t30::test {

// GDI+ for a whole test run, as the application starts it.
class GdiplusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { scope_ = std::make_unique<GdiplusScope>(); }
    void TearDown() override { scope_.reset(); }

  private:
    std::unique_ptr<GdiplusScope> scope_;
};

}  // namespace t30::test
