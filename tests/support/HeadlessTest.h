// A test fixture on a freshly reset headless back end.
#pragma once

#include <gtest/gtest.h>

#include "platform/Headless.h"
#include "platform/Platform.h"

namespace testsupport {

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::init(plat::Backend::Headless);
        plat::headless::reset();
    }
    void TearDown() override {
        plat::headless::reset();
        plat::shutdown();
    }
};

}  // namespace testsupport
