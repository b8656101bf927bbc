// Exact comparison of the physics module's values: vectors and whole bodies,
// bit for bit.
#pragma once

#include <gtest/gtest.h>

#include "quor/body.hpp"
#include "quor/hom_vec4.hpp"
#include "same_values.hpp"

namespace quor::test {

/// Every field of two bodies, doubles by their bits.
inline ::testing::AssertionResult sameBody(const QuorBody& expected, const QuorBody& actual) {
  const auto field = [](const char* name, ::testing::AssertionResult r) {
    return r ? r : ::testing::AssertionFailure() << name << "." << r.message();
  };
  if (auto r = field("position", same(expected.position, actual.position)); !r) return r;
  if (auto r = field("velocity", same(expected.velocity, actual.velocity)); !r) return r;
  if (auto r = field("force_accum", same(expected.force_accum, actual.force_accum)); !r) return r;
  if (auto r = field("mass ", sameBits(expected.mass, actual.mass)); !r) return r;
  if (auto r = field("restitution ", sameBits(expected.restitution, actual.restitution)); !r) return r;
  if (auto r = field("friction ", sameBits(expected.friction, actual.friction)); !r) return r;
  if (expected.body_type != actual.body_type) return ::testing::AssertionFailure() << "body_type differs";
  if (expected.active != actual.active) return ::testing::AssertionFailure() << "active differs";
  return ::testing::AssertionSuccess();
}

}  // namespace quor::test

#define EXPECT_SAME_BODY(expected, actual) EXPECT_TRUE(::quor::test::sameBody((expected), (actual)))
