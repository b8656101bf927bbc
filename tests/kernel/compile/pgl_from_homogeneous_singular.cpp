// Must not compile: each variant hands pglFromHomogeneous a singular matrix.
#include "quor/pgl4.hpp"

#if defined(QUOR_SINGULAR_zero_row)
constexpr quor::PGL4::Rows m{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 0}}};
#elif defined(QUOR_SINGULAR_repeated_row)
constexpr quor::PGL4::Rows m{{{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 4}, {0, 0, 1, 1}}};
#elif defined(QUOR_SINGULAR_zero_pivot_diagonal)
constexpr quor::PGL4::Rows m{{{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
#else
#error "choose a singular matrix"
#endif

// Not a constexpr variable: the builder alone forces evaluation at build time.
int main() {
  const quor::PGL4 rejected = quor::pglFromHomogeneous(m);
  return rejected.get(0, 0) == 0.0 ? 0 : 1;
}
