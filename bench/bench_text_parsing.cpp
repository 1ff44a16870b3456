// Micro-benchmarks of the per-line text routines: splitting a typical XYZ line and parsing its
// numbers, in delimiter and in width mode.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "text/text_parsing.h"

namespace {

const std::string kLine = "  12.250000000   41.750000000   49.3518";
const std::string kCommaLine = "12,25;41,75;49,3518;PT1";

void BM_ParseDecimal(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(hextant::ParseDecimal("41.750000000"));
  }
}
BENCHMARK(BM_ParseDecimal);

// A GDAL XYZ number: read by from_chars directly; the same with a plus sign takes the
// character-by-character path that signs, commas, blanks and D exponents need.
void BM_ParseDecimalPlainLong(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(hextant::ParseDecimal("89.9749999999999943"));
  }
}
BENCHMARK(BM_ParseDecimalPlainLong);

void BM_ParseDecimalSpecialLong(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(hextant::ParseDecimal("+89.9749999999999943"));
  }
}
BENCHMARK(BM_ParseDecimalSpecialLong);

void BM_ParseDecimalWithComma(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(hextant::ParseDecimal("-1234,5678"));
  }
}
BENCHMARK(BM_ParseDecimalWithComma);

void BM_ParseAfterLetters(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(hextant::ParseAfterLetters("N45"));
  }
}
BENCHMARK(BM_ParseAfterLetters);

void BM_SplitAndParseSpaceMerged(benchmark::State& state) {
  std::vector<hextant::LineField> fields;
  for (auto _ : state) {
    std::int16_t maxFields = 100;
    hextant::SplitLine(kLine, " ", maxFields, fields, true);
    double sum = 0;
    for (std::int16_t i = 1; i <= maxFields; ++i) {
      sum += hextant::ParseDecimal(fields[static_cast<std::size_t>(i)].Text);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitAndParseSpaceMerged);

void BM_SplitSemicolon(benchmark::State& state) {
  std::vector<hextant::LineField> fields;
  for (auto _ : state) {
    std::int16_t maxFields = 100;
    hextant::SplitLine(kCommaLine, ";", maxFields, fields, false);
    benchmark::DoNotOptimize(fields.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitSemicolon);

void BM_SplitWidths(benchmark::State& state) {
  std::vector<hextant::LineField> fields;
  for (auto _ : state) {
    std::int16_t maxFields = 100;
    hextant::SplitLine(kLine, "15,15,10", maxFields, fields, false);
    benchmark::DoNotOptimize(fields.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitWidths);

}  // namespace

BENCHMARK_MAIN();
