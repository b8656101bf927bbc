// Great circles of the unit 3-sphere in closed form, the exponential and
// logarithm maps, and parallel transport. Plain R^4 formulas on
// representatives: a point and its antipode are not identified here, except
// through fsDistance inside logMap. No operation normalises its inputs or
// checks that p has norm 1 and v is tangent; each returns what its formula
// gives, and NaN and infinity propagate.
#pragma once

#include "quor/hom_vec4.hpp"

namespace quor {

/// cos t·p + sin t·v. t is the angle from p; it is the arc length only for
/// orthonormal p and v, and only then does the result have norm 1.
HomVec4 geodesicExact(HomVec4 p, HomVec4 v, double t);

/// The point at parameter t of the great circle leaving p in direction v/|v|
/// at angular speed |v|. A speed below 1e-15 answers p as given, for every t.
HomVec4 geodesicScaled(HomVec4 p, HomVec4 v, double t);

/// geodesicScaled(p, v, 1.0).
HomVec4 expMap(HomVec4 p, HomVec4 v);

/// The tangent vector at p towards q whose length is the Fubini-Study angle;
/// zero when the points coincide projectively. q is used unflipped: for
/// p·q < 0 the result keeps a component along p.
HomVec4 logMap(HomVec4 p, HomVec4 q);

/// The Fubini-Study distance between γ(0) and γ(t) on a unit-speed great
/// circle: |t| folded into [0, pi/2], even in t and of period pi.
double fsDistanceAlongGeodesic(double t);

/// e_k − p_k·p normalised, for the axis k along which p is smallest; ties go
/// to w, then x, then y. Orthogonal to p only when p has norm 1.
HomVec4 orthogonalVelocity(HomVec4 p);

/// w carried along the great circle of the orthonormal pair (p, v) from 0 to
/// t: its part in the plane of p and v turns by t, the rest is unchanged.
HomVec4 parallelTransport(HomVec4 p, HomVec4 v, HomVec4 w, double t);

}  // namespace quor
