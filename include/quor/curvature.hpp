// Curvature of the round 3-sphere through a point, in the ambient coordinates
// of R^4 (index 0, 1, 2, 3 for x, y, z, w). The sphere is the one centred at
// the origin with radius |point|. A point with |point|² below 1e-15 counts as
// the origin, where every quantity is zero.
#pragma once

#include <array>
#include <cstddef>

#include "quor/hom_vec4.hpp"

namespace quor {

/// Γ^i_jk as gamma[i][j][k]: the upper index outermost, k varying fastest.
using Christoffel = std::array<std::array<std::array<double, 4>, 4>, 4>;

/// Γ^i_jk = -x^i·δ_jk / |x|²; all zero at the origin.
Christoffel christoffelSymbols(HomVec4 point);

/// -Γ^i_jk·v^j·v^k for each i, all 64 terms summed in loop order, zeros
/// included: (|v|² / |x|²)·point, pointing away from the origin.
HomVec4 geodesicAcceleration(HomVec4 point, HomVec4 velocity);

/// R^i_jkl = δ^i_k·g_jl - δ^i_l·g_jk with g the tangent projector at point.
/// There is no 1/|x|² factor: a point of norm 2 gives the values of its unit
/// direction. j, k and l must be below 4; i is only compared and may be any
/// value (4 or more gives 0.0).
///
/// The indices are checked before anything else, so an out-of-range j, k or
/// l panics even at the origin, where the value would otherwise be 0.0: an
/// index out of contract is a caller's fault wherever the point lies.
double riemannTensor(HomVec4 point, std::size_t i, std::size_t j, std::size_t k, std::size_t l);

/// 1/|x|², the curvature of the sphere of radius |x| for every plane.
double sectionalCurvature(HomVec4 point);

/// (K·3)·2: n(n - 1)·K for the dimension n = 3.
double scalarCurvature(HomVec4 point);

/// Ric_jk = (2·K)·g_jk: 0 along the normal, 2K along tangent axes. j and k
/// must be below 4 and are checked first, as in riemannTensor.
double ricciTensor(HomVec4 point, std::size_t j, std::size_t k);

}  // namespace quor
