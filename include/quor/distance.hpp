// The Fubini-Study distance between projective points, and the chord
// conversions on a sphere of radius R.
#pragma once

#include "quor/hom_vec4.hpp"

namespace quor {

/// Radius of the modelled world, in kilometres.
inline constexpr double R_VESPRA_KM = 5838.4;

/// The angle in [0, pi/2] between the lines of a and b, blind to scale and
/// sign: a point and its antipode are at distance 0. A vector of norm below
/// 1e-15 is at distance 0 from everything, and so is a NaN.
double fsDistance(HomVec4 a, HomVec4 b);

/// cos(s_meters / (2·R_meters)).
double wFromDistance(double s_meters, double R_meters);

/// 2·R_meters·arccos(W), W clamped to [-1, 1]; a NaN W counts as 1.
double sFromW(double W, double R_meters);

}  // namespace quor
