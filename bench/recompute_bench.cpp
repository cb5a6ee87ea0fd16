// One keystroke's work per category, beside the obvious C way of showing the
// same fourteen numbers: snprintf("%.7g") of each.
//
//   cmake --preset release && cmake --build --preset release -j2
//   build-release/bin/mensura_bench --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "memory_fields.h"
#include "recompute.h"

namespace {

// A large input: every cell shows many digits.
constexpr const char* kInput = "123456789";
const mensura::Separators kSeparators{",", "."};

// The numbers one run shows, in the order written.
std::vector<double> RunNumbers(const char* category, const char* unit) {
    mensura::MemoryFields fields(category, unit, kInput);
    mensura::RecomputeResults(fields, kSeparators);
    std::vector<double> numbers;
    for (const auto& number : fields.numbers)
        if (number) numbers.push_back(number->value);
    return numbers;
}

void Recompute(benchmark::State& state, const char* category, const char* unit) {
    mensura::MemoryFields fields(category, unit, kInput);
    fields.record = false;  // captions only, as the window keeps them
    for (auto _ : state) {
        auto status = mensura::RecomputeResults(fields, kSeparators);
        benchmark::DoNotOptimize(status);
    }
    state.counters["cells"] = static_cast<double>(RunNumbers(category, unit).size());
}

// The reference: the same run's numbers, computed once, formatted each time.
void Snprintf(benchmark::State& state, const char* category, const char* unit) {
    const std::vector<double> numbers = RunNumbers(category, unit);
    char text[32];
    for (auto _ : state) {
        for (const double value : numbers) {
            std::snprintf(text, sizeof text, "%.7g", value);
            benchmark::DoNotOptimize(text);
        }
    }
    state.counters["cells"] = static_cast<double>(numbers.size());
}

BENCHMARK_CAPTURE(Recompute, Length, "LENGTH", "FEET");
BENCHMARK_CAPTURE(Snprintf, Length, "LENGTH", "FEET");
BENCHMARK_CAPTURE(Recompute, Weight, "WEIGHT", "POUNDS");
BENCHMARK_CAPTURE(Snprintf, Weight, "WEIGHT", "POUNDS");
BENCHMARK_CAPTURE(Recompute, Capacity, "CAPACITY", "GALLONS(US)");
BENCHMARK_CAPTURE(Snprintf, Capacity, "CAPACITY", "GALLONS(US)");

void FormatResult(benchmark::State& state, double value, mensura::Precision precision) {
    std::string out;
    for (auto _ : state) {
        mensura::FormatResult(value, precision, kSeparators, out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK_CAPTURE(FormatResult, Single, 1481481000.0, mensura::Precision::Single);
BENCHMARK_CAPTURE(FormatResult, Double, 7482229.81818182, mensura::Precision::Double);

}  // namespace
