// One keystroke's work per category, and the display pattern alone.
#include <benchmark/benchmark.h>

#include <string>

#include "recompute.h"

namespace {

class BenchFields : public mensura::ConverterFields {
public:
    BenchFields(std::string category, std::string unit, std::string input)
        : m_category(std::move(category)), m_unit(std::move(unit)), m_input(std::move(input)) {}
    std::string InputText() const override { return m_input; }
    std::string UnitText() const override { return m_unit; }
    std::string CategoryTitle() const override { return m_category; }
    void SetValueCaption(int row, const std::string& caption,
                         std::optional<mensura::CellNumber>) override {
        m_captions[row - 1] = caption;
    }

private:
    std::string m_category, m_unit, m_input;
    std::string m_captions[15];
};

void Recompute(benchmark::State& state, const char* category, const char* unit, const char* input) {
    BenchFields fields(category, unit, input);
    for (auto _ : state) {
        const auto status = mensura::RecomputeResults(fields);
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK_CAPTURE(Recompute, Length, "LENGTH", "FEET", "123456789");
BENCHMARK_CAPTURE(Recompute, Weight, "WEIGHT", "POUNDS", "123456789");
BENCHMARK_CAPTURE(Recompute, Capacity, "CAPACITY", "GALLONS(US)", "123456789");

void FormatResult(benchmark::State& state, double value, mensura::Precision precision) {
    for (auto _ : state) benchmark::DoNotOptimize(mensura::FormatResult(value, precision));
}
BENCHMARK_CAPTURE(FormatResult, Single, 1481481000.0, mensura::Precision::Single);
BENCHMARK_CAPTURE(FormatResult, Double, 7482229.81818182, mensura::Precision::Double);

}  // namespace
