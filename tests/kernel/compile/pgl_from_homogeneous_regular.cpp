// Must compile: a regular matrix is accepted while the program is built.
#include "quor/pgl4.hpp"

constexpr quor::PGL4 accepted = quor::pglFromHomogeneous({{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 5}}});
static_assert(accepted.get(3, 3) == 5.0);
static_assert(accepted.det() == 120.0);

// Near-singular but not singular: the test is det == 0, not a threshold.
constexpr quor::PGL4 tiny =
    quor::pglFromHomogeneous({{{1e-30, 0, 0, 0}, {0, 1e-30, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
static_assert(tiny.det() == 1e-30 * 1e-30);

// Not symmetric: the rows land in rows, not columns.
constexpr quor::PGL4 shear = quor::pglFromHomogeneous({{{1, 7, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
static_assert(shear.get(0, 1) == 7.0 && shear.data[4] == 7.0);

int main() { return 0; }
