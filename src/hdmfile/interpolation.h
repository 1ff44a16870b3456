#pragma once

// The interpolation of a separation between the nodes of a regular grid, one axis at a time:
// each method gives the weights of the nodes along X and along Y, and the value is the sum of
// the node values times the products of their weights. docs/interpolation.md gives the formulas.
// Plain maths, independent of the model file.

#include <array>
#include <cstdint>
#include <optional>

namespace hdm {

/// The methods, named by their node count as the body flags of a model name them.
enum class Interpolation : std::int16_t { Bilinear = 4, Biquadratic = 9, Bicubic = 16 };

/// The method that a model's body flags choose; bilinear when they choose none (Series R).
Interpolation InterpolationOfFlags(std::int16_t bodyFlags) noexcept;
/// The method of a node count 4, 9 or 16.
std::optional<Interpolation> InterpolationOfCount(int count) noexcept;

/// A position off a node by at most this much (in node spacings) still counts as on the node.
/// A millionth covers the models whose extents were stored with pi rounded to 3.141592654.
inline constexpr double kOnNodeTolerance = 1e-6;

/// The weights of `size` consecutive nodes along one axis, from node `first`. On a periodic axis
/// `first` may lie outside 0..count-1 and the caller wraps the indexes; otherwise every node of
/// the window is a node of the axis.
struct AxisWeights {
  std::int32_t first = 0;
  int size = 0;
  std::array<double, 4> weight{};
};

/// The weights for position `u` (in node spacings from node 0) on an axis of `count` nodes;
/// nullopt when `u` lies outside the nodes of a non-periodic axis. A periodic axis (its `count`
/// nodes cover the whole circle) takes any `u`. An axis too short for the method uses the next
/// simpler one: 2 nodes are interpolated linearly, 1 node only at itself.
std::optional<AxisWeights> WeightsAlong(Interpolation method, double u, std::int32_t count,
                                        bool periodic) noexcept;

/// Σ weight × value over the window of X weights `x` (columns) and Y weights `y` (rows); `values`
/// holds the window row by row, 4 values a row, nullopt for a node without value. nullopt when a
/// node whose weight is not zero has no value.
std::optional<double> Combine(const AxisWeights& x, const AxisWeights& y,
                              const std::array<std::optional<double>, 16>& values) noexcept;

}  // namespace hdm
