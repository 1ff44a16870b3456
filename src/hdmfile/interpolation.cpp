#include "interpolation.h"

#include <algorithm>
#include <cmath>

namespace hdm {
namespace {

constexpr std::int16_t kFlag16 = 0x20, kFlag9 = 0x40;  // 0x10 (4 Points) is the default

AxisWeights Linear(double u, std::int32_t count, bool periodic) noexcept {
  auto first = static_cast<std::int32_t>(std::floor(u));
  if (!periodic) {
    first = std::clamp(first, 0, count - 2);
  }
  const double t = u - first;
  return AxisWeights{first, 2, {1 - t, t, 0, 0}};
}

// Lagrange's parabola through the nearest node and its two neighbours (t from the middle one).
AxisWeights Quadratic(double u, std::int32_t count, bool periodic) noexcept {
  auto middle = static_cast<std::int32_t>(std::lround(u));
  if (!periodic) {
    middle = std::clamp(middle, 1, count - 2);
  }
  const double t = u - middle;
  return AxisWeights{middle - 1, 3, {t * (t - 1) / 2, 1 - t * t, t * (t + 1) / 2, 0}};
}

// Keys' cubic convolution spline (a = -1/2) over the 4 nodes around u. At an end of a
// non-periodic axis the missing outer node is Keys' extrapolation 3 f0 - 3 f1 + f2, folded into
// the weights of the three real nodes, so the window keeps to the axis.
AxisWeights Cubic(double u, std::int32_t count, bool periodic) noexcept {
  auto left = static_cast<std::int32_t>(std::floor(u));
  if (!periodic) {
    left = std::clamp(left, 0, count - 2);
  }
  const double t = u - left, t2 = t * t, t3 = t2 * t;
  AxisWeights w{left - 1,
                4,
                {(-t3 + 2 * t2 - t) / 2, (3 * t3 - 5 * t2 + 2) / 2, (-3 * t3 + 4 * t2 + t) / 2,
                 (t3 - t2) / 2}};
  if (periodic) {
    return w;
  }
  if (w.first < 0) {  // node -1 = 3 f0 - 3 f1 + f2
    const double outer = w.weight[0];
    w = AxisWeights{0, 3, {w.weight[1] + 3 * outer, w.weight[2] - 3 * outer, w.weight[3] + outer}};
  }
  if (w.first + w.size > count) {  // node count = 3 f(count-1) - 3 f(count-2) + f(count-3)
    const int last = w.size - 1;
    const double outer = w.weight[static_cast<std::size_t>(last)];
    w.weight[static_cast<std::size_t>(last)] = 0;
    w.size = last;
    w.weight[static_cast<std::size_t>(last - 1)] += 3 * outer;
    w.weight[static_cast<std::size_t>(last - 2)] -= 3 * outer;
    w.weight[static_cast<std::size_t>(last - 3)] += outer;
  }
  return w;
}

}  // namespace

Interpolation InterpolationOfFlags(std::int16_t bodyFlags) noexcept {
  if (bodyFlags & kFlag9) {
    return Interpolation::Biquadratic;
  }
  if (bodyFlags & kFlag16) {
    return Interpolation::Bicubic;
  }
  return Interpolation::Bilinear;
}

std::optional<Interpolation> InterpolationOfCount(int count) noexcept {
  switch (count) {
    case 4:
      return Interpolation::Bilinear;
    case 9:
      return Interpolation::Biquadratic;
    case 16:
      return Interpolation::Bicubic;
    default:
      return std::nullopt;
  }
}

std::optional<AxisWeights> WeightsAlong(Interpolation method, double u, std::int32_t count,
                                        bool periodic) noexcept {
  if (!std::isfinite(u) || count < 1) {
    return std::nullopt;
  }
  if (periodic) {
    u = std::fmod(u, static_cast<double>(count));
    if (u < 0) {
      u += count;
    }
  } else {
    if (u < -kOnNodeTolerance || u > count - 1 + kOnNodeTolerance) {
      return std::nullopt;
    }
    u = std::clamp(u, 0.0, static_cast<double>(count - 1));
  }
  const std::int32_t needed = method == Interpolation::Bilinear ? 2 : 3;
  if (count < needed && !periodic) {
    if (count == 1) {
      return AxisWeights{0, 1, {1, 0, 0, 0}};
    }
    method = Interpolation::Bilinear;
  }
  switch (method) {
    case Interpolation::Biquadratic:
      return Quadratic(u, count, periodic);
    case Interpolation::Bicubic:
      return Cubic(u, count, periodic);
    case Interpolation::Bilinear:
      break;
  }
  return Linear(u, count, periodic);
}

std::optional<double> Combine(const AxisWeights& x, const AxisWeights& y,
                              const std::array<std::optional<double>, 16>& values) noexcept {
  double sum = 0;
  for (int j = 0; j < y.size; ++j) {
    const double wy = y.weight[static_cast<std::size_t>(j)];
    for (int i = 0; i < x.size && wy != 0; ++i) {
      const double w = wy * x.weight[static_cast<std::size_t>(i)];
      if (w == 0) {
        continue;
      }
      const auto& value = values[static_cast<std::size_t>(4 * j + i)];
      if (!value) {
        return std::nullopt;
      }
      sum += w * *value;
    }
  }
  return sum;
}

}  // namespace hdm
