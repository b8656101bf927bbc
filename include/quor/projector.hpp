// Matrix constructions on PGL4: the resonance J = A − Aᵀ, the regularised
// projector onto the null space of J, and the deformed product.
#pragma once

#include "quor/pgl4.hpp"

namespace quor {

/// a − aᵀ, exactly antisymmetric with a zero diagonal.
PGL4 computeResonance(PGL4 a);

/// I − jcᵀ·X·jc with X the Newton–Schulz inverse of jc·jcᵀ + 2·delta·I
/// (delta enters once here and once more inside the inverse), after at most
/// 8 iterations. Close to the projector onto the null space of jc; exactly the
/// identity for jc = 0 with delta > 0.
PGL4 computeProjector(PGL4 jc, double delta);

/// x·y + epsilon·(x ∘ y), ∘ the elementwise product.
PGL4 deformedTensorProduct(PGL4 x, PGL4 y, double epsilon);

}  // namespace quor
