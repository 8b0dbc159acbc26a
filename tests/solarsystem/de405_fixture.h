// A test fixture over the reference DE405 file of 1959-2060: the reader and
// a place context with the eleven body records. Skips when the file is absent.
#pragma once

#include <gtest/gtest.h>

#include "solarsystem/planets.h"
#include "tests/support/test_support.h"

namespace celestra::test {

class De405Test : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_SHARED_FILE(path, "ephemeris/de405_1959-2060_rebuilt.bin");
        ASSERT_TRUE(eph_.open(path));
        context_ = makePlaceContext(eph_);
    }
    EphemerisFile eph_;
    PlaceContext context_;
};

}  // namespace celestra::test
