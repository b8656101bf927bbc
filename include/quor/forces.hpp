// Force laws for bodies on S³. Both are pure: the result is a force in R^4,
// not projected onto the tangent space; integrateStep deals with its radial
// part.
#pragma once

#include "quor/body.hpp"
#include "quor/hom_vec4.hpp"

namespace quor {

/// The pull of a point attractor: |F| = G·M / (sin² d + 1e-10) along the unit
/// vector of logMap(position, attractor), d the Fubini-Study distance. The
/// 1e-10 bounds |F| by |G·M|·1e10, so there is no singularity as d -> 0; at
/// d = 0 (same point or antipode) and for a degenerate direction the force is
/// zero. Only body.position is read: the force does not scale with the body's
/// mass. A negative G or attractor_mass repels.
HomVec4 quorGravity(QuorBody body, HomVec4 attractor_position, double attractor_mass, double G);

/// Linear drag (-gamma)·velocity, radial part included; gamma is not checked.
HomVec4 dampingForce(HomVec4 velocity, double gamma);

}  // namespace quor
