#include <cmath>

#include "quor/pgl4.hpp"

namespace quor {

PGL4 PGL4::inverse(double delta, std::uint32_t max_iter) const {
  const PGL4 I4 = identity();

  // The matrix inverted is M + delta·I: delta regularises, it is no tolerance.
  PGL4 m_reg = *this;
  for (std::size_t i = 0; i < 4; ++i) m_reg.set(i, i, m_reg.get(i, i) + delta);
  const PGL4 mt = m_reg.transpose();

  // X0 = m_regᵀ / ‖m_reg‖²_F keeps the spectral radius of I − m_reg·X0 below 1
  // for any invertible m_reg. The squared norm is summed in storage order.
  double norm_sq = 0.0;
  for (std::size_t k = 0; k < 16; ++k) norm_sq = norm_sq + m_reg.data[k] * m_reg.data[k];
  PGL4 x = mt;
  for (std::size_t k = 0; k < 16; ++k) x.data[k] = x.data[k] / norm_sq;

  for (std::uint32_t i = 0; i < max_iter; ++i) {
    const PGL4 mx = mul(m_reg, x);
    PGL4 two_i_minus_mx{};
    for (std::size_t k = 0; k < 16; ++k) two_i_minus_mx.data[k] = 2.0 * I4.data[k] - mx.data[k];
    x = mul(x, two_i_minus_mx);

    // The largest entry of m_reg·X − I for the new X. A NaN entry is never
    // greater, so an all-NaN iterate (the zero matrix) stops at once.
    const PGL4 residual_check = mul(m_reg, x);
    double residual = 0.0;
    for (std::size_t k = 0; k < 16; ++k) {
      const double d = std::fabs(residual_check.data[k] - I4.data[k]);
      if (d > residual) residual = d;
    }
    if (residual < 1e-12) break;
  }
  return x;
}

}  // namespace quor
