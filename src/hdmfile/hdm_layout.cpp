#include "hdm_layout.h"

#include <bit>
#include <cmath>

namespace hdm {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutI16(std::vector<std::uint8_t>& out, std::int16_t value) {
  PutU16(out, static_cast<std::uint16_t>(value));
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
}

void PutF64(std::vector<std::uint8_t>& out, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  PutU32(out, static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
  PutU32(out, static_cast<std::uint32_t>(bits >> 32));
}

std::uint16_t GetU16(const std::uint8_t* p) noexcept {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int16_t GetI16(const std::uint8_t* p) noexcept {
  return static_cast<std::int16_t>(GetU16(p));
}

std::int32_t GetI32(const std::uint8_t* p) noexcept {
  return static_cast<std::int32_t>(GetU32(p));
}

double GetF64(const std::uint8_t* p) noexcept {
  const std::uint64_t bits = GetU32(p) | (static_cast<std::uint64_t>(GetU32(p + 4)) << 32);
  return std::bit_cast<double>(bits);
}

bool AllFinite(const CoordSection& c) noexcept {
  for (double v : {c.firstX, c.firstY, c.lastX, c.lastY, c.spacingX, c.spacingY, c.separationOffset,
                   c.semiMajorAxis, c.flattening}) {
    if (!std::isfinite(v)) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::uint32_t GetU32(const std::uint8_t* p) noexcept {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
  }
}

void AppendHeader(std::vector<std::uint8_t>& out) {
  out.insert(out.end(), kMagic.begin(), kMagic.end());
  PutU16(out, kVersion);
  PutU16(out, 0);
}

void AppendBody(std::vector<std::uint8_t>& out, const BodySection& body) {
  PutI16(out, body.bodyFlags);
  PutU16(out, 0);
  PutI32(out, body.nodes);
}

void AppendCoord(std::vector<std::uint8_t>& out, const CoordSection& c) {
  PutI16(out, c.coordinateType);
  PutI16(out, c.resolutionCode);
  for (double v :
       {c.firstX, c.firstY, c.lastX, c.lastY, c.spacingX, c.spacingY, c.separationOffset}) {
    PutF64(out, v);
  }
  PutI32(out, c.rows);
  PutI32(out, c.nodes);
  PutF64(out, c.semiMajorAxis);
  PutF64(out, c.flattening);
  PutU16(out, static_cast<std::uint16_t>(c.ellipsoidName.size()));
  out.insert(out.end(), c.ellipsoidName.begin(), c.ellipsoidName.end());
}

bool HasMagic(std::span<const std::uint8_t> bytes) noexcept {
  if (bytes.size() < kMagic.size()) {
    return false;
  }
  for (std::size_t i = 0; i < kMagic.size(); ++i) {
    if (bytes[i] != kMagic[i]) {
      return false;
    }
  }
  return true;
}

std::uint16_t DecodeVersion(std::span<const std::uint8_t> bytes) noexcept {
  return GetU16(bytes.data() + kMagic.size());
}

BodySection DecodeBody(std::span<const std::uint8_t> bytes) noexcept {
  const std::uint8_t* p = bytes.data() + kBodyOffset;
  return BodySection{GetI16(p), GetI32(p + 4)};
}

std::uint16_t DecodeNameLength(std::span<const std::uint8_t> bytes) noexcept {
  return GetU16(bytes.data() + kNameOffset - 2);
}

CoordSection DecodeCoord(std::span<const std::uint8_t> bytes) {
  const std::uint8_t* p = bytes.data() + kCoordOffset;
  CoordSection c;
  c.coordinateType = GetI16(p);
  c.resolutionCode = GetI16(p + 2);
  double* doubles[] = {&c.firstX,   &c.firstY,   &c.lastX,           &c.lastY,
                       &c.spacingX, &c.spacingY, &c.separationOffset};
  const std::uint8_t* q = p + 4;
  for (double* d : doubles) {
    *d = GetF64(q);
    q += 8;
  }
  c.rows = GetI32(q);
  c.nodes = GetI32(q + 4);
  c.semiMajorAxis = GetF64(q + 8);
  c.flattening = GetF64(q + 16);
  const std::size_t nameLength = DecodeNameLength(bytes);
  const auto* name = reinterpret_cast<const char*>(bytes.data() + kNameOffset);
  c.ellipsoidName.assign(name, nameLength);
  return c;
}

const char* BodyProblem(const BodySection& body) noexcept {
  if (body.nodes < 1) {
    return "the node count is below 1";
  }
  const int type = body.bodyFlags & 0x03;
  if (type != 1 && type != 2) {
    return "the body flags carry no coordinate type";
  }
  if ((body.bodyFlags & ~kKnownFlagBits) != 0) {
    return "the body flags carry unknown bits";
  }
  if (std::popcount(static_cast<unsigned>(body.bodyFlags & kInterpolationBits)) > 1) {
    return "the body flags carry more than one interpolation bit";
  }
  return nullptr;
}

const char* CoordProblem(const CoordSection& c, const BodySection& body) noexcept {
  if (c.coordinateType != 1 && c.coordinateType != 2) {
    return "the coordinate type is neither 1 nor 2";
  }
  if (c.coordinateType != (body.bodyFlags & 0x03)) {
    return "the coordinate type differs from the body flags";
  }
  if (c.resolutionCode != 1 && c.resolutionCode != 2) {
    return "the resolution code is neither 1 nor 2";
  }
  if (c.nodes != body.nodes) {
    return "the node count differs from the body section";
  }
  if (c.rows < 1 || c.rows > c.nodes) {
    return "the row count is outside 1..nodes";
  }
  if (!AllFinite(c)) {
    return "a coordinate, spacing, offset or ellipsoid value is not finite";
  }
  if (c.spacingX <= 0 || c.spacingY <= 0) {
    return "a spacing is not positive";
  }
  if (c.lastY < c.firstY) {
    return "the last node's Y is smaller than the first node's";
  }
  if (c.semiMajorAxis <= 0 || c.flattening < 0 || c.flattening >= 1) {
    return "the ellipsoid's axis or flattening is out of range";
  }
  if (c.ellipsoidName.size() > kMaxNameLength) {
    return "the ellipsoid name is longer than 255 bytes";
  }
  return nullptr;
}

double UnitsPerMetre(std::int16_t resolutionCode) noexcept {
  return resolutionCode == 1 ? 1000.0 : 100.0;
}

bool EncodeSeparation(double separation, double nullFlag, double offset, double unitsPerMetre,
                      std::int16_t& code) noexcept {
  if (nullFlag != 0.0 || separation == kNullSeparation) {
    code = kNullCode;
    return true;
  }
  // std::round, without the library call: within the range the truncated value and the
  // remainder are exact, and a remainder of one half or more rounds away from zero.
  const double units = (separation - offset) * unitsPerMetre;
  if (!(units > -kLargestCode - 1.0 && units < kLargestCode + 1.0)) {
    return false;  // also refuses NaN and infinities
  }
  auto rounded = static_cast<std::int32_t>(units);
  const double remainder = units - static_cast<double>(rounded);
  rounded += remainder >= 0.5 ? 1 : (remainder <= -0.5 ? -1 : 0);
  if (rounded < -kLargestCode || rounded > kLargestCode) {
    return false;
  }
  code = static_cast<std::int16_t>(rounded);
  return true;
}

}  // namespace hdm
