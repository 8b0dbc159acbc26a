// A test fixture over the default ephemeris the build writes (DE405,
// 1959-2060): the reader and a place context with the eleven body records.
// Fails when the file is absent.
#pragma once

#include <gtest/gtest.h>

#include "solarsystem/planets.h"
#include "tests/support/test_support.h"

namespace celestra::test {

class De405Test : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_FILE(path, builtEphemeris());
        ASSERT_TRUE(eph_.open(path));
        context_ = makePlaceContext(eph_);
    }
    EphemerisFile eph_;
    PlaceContext context_;
};

}  // namespace celestra::test
