// One fixed time step of a body on S³.
#pragma once

#include "quor/body.hpp"
#include "quor/hom_vec4.hpp"

namespace quor {

/// Advances body by dt with one classical Runge-Kutta step of
///   q' = v,  v' = -|v|²·q + F/m,   F = external_force + force_accum,
/// in ambient coordinates, then puts the position back on S³, strips the
/// radial part of the velocity and clears the accumulator.
///
/// A body that is inactive, not dynamic, or lighter than 1e-10 (zero and
/// negative masses included) is left untouched, its accumulator too, so forces
/// gathered meanwhile all land on the first step that moves it. dt is not
/// checked: a negative dt steps backwards, dt = 0 only renormalises, projects
/// and clears.
void integrateStep(QuorBody& body, double dt, HomVec4 external_force);

}  // namespace quor
