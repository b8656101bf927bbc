// Great circles of the unit 3-sphere in closed form, the exponential and
// logarithm maps, and parallel transport. Plain R^4 formulas on
// representatives: a point and its antipode are not identified here, except
// through fsDistance inside logMap.
#pragma once

#include "quor/hom_vec4.hpp"

namespace quor {

/// The tangent vector at p towards q whose length is the Fubini-Study angle;
/// zero when the points coincide projectively. q is used unflipped: for
/// p·q < 0 the result keeps a component along p.
HomVec4 logMap(HomVec4 p, HomVec4 q);

}  // namespace quor
