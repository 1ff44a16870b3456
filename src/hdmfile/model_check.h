#pragma once

// Checks a model that reads intact for what its bytes cannot show: whether its nodes fill the grid
// that its extent and spacings define, and whether single nodes stand apart from their
// neighbours, as a value read as 0 from a field without a number does. Node positions are not
// stored, so a row shifted in the source cannot be told from the model reliably: a smooth surface
// moved by one column looks much like another smooth surface. The converter tells it from the
// source's coordinates.

#include <cstdint>

#include "hdm_reader.h"

namespace hdm {

struct ModelCheckReport {
  std::int32_t extentColumns = 0;  // (last X − first X) / spacing X + 1, rounded half to even
  std::int32_t extentRows = 0;     // (last Y − first Y) / spacing Y + 1, rounded the same way
  bool regular = false;            // nodes == rows × extentColumns and rows == extentRows
  double columnSpacings = 0;       // (last X − first X) / spacing X
  double rowSpacings = 0;          // (last Y − first Y) / spacing Y
  bool onLattice = false;          // both within a thousandth of a whole number
  std::int64_t nodesWithoutValue = 0;
  /// Of the southern and northern rows and the western and eastern columns, how many hold no
  /// value at all: what a source cut short, or a spacing too fine for it, leaves (regular only).
  int emptyEdges = 0;

  // Only for a regular model. A node stands apart when its separation differs from the mean of
  // its valued neighbours left, right, below and above by more than twice the spread (largest
  // minus smallest) of its 8 valued neighbours, plus 10 storage units. On a quadratic surface the
  // difference is at most the spread (at a round summit); on the whole EGM96 at 15' it reaches
  // 0.9 of it. A single wrong value stands out far beyond.
  bool neighboursCompared = false;
  std::int64_t zeros = 0;             // nodes standing apart that hold 0 m (to half a unit)
  std::int64_t firstZero = -1;        // node index in file order, -1: none
  std::int64_t outliers = 0;          // nodes standing apart that hold anything else
  std::int64_t firstOutlier = -1;     // node index in file order, -1: none
  double firstOutlierDifference = 0;  // metres, its separation minus its neighbours' mean

  /// True when nothing calls for a warning.
  bool Clean() const noexcept {
    return regular && onLattice && zeros == 0 && outliers == 0 && emptyEdges == 0;
  }
};

/// Checks `model`, read whole (its `codes` hold every node).
ModelCheckReport CheckModel(const HdmModel& model);

}  // namespace hdm
