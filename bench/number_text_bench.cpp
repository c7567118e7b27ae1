// Nanoseconds per call of the number texts that every conversion, log row and settings file
// goes through. Each benchmark runs in ten repetitions; the table gives the minimum, median and
// maximum of their means.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "conversion/number_text.h"

namespace {

struct FixedCase {
    const char* name;
    double value;
    int decimals;
};

// A field's texts: a scale term, a size, a large size, a result that rounds, and infinity.
const FixedCase kFixedCases[] = {
    {"87, 1 decimal", 87.0, 1},
    {"2.87356, 2 decimals", 2.8735632896423340, 2},
    {"123456792, 2 decimals", 123456792.0, 2},
    {"1419043.625, 2 decimals (tie)", 1419043.625, 2},
    {"+Infinity", 1.0 / 0.0, 2},
};

struct ShortestCase {
    const char* name;
    float value;
};

// What the settings file holds: whole ratios, a ratio with decimals, and a small value.
const ShortestCase kShortestCases[] = {
    {"87", 87.0f},
    {"87.26", 87.26f},
    {"1/3", 1.0f / 3.0f},
    {"0.001", 0.001f},
};

// Field and settings texts as they are read: plain, with decimals, long, exponent, junk, words.
const char* const kParseCases[] = {
    "250", "2.87", "123456789", "1.234.5", "1e39", "-Infinity", "abc", "",
};

struct Repetitions {
    std::vector<double> nanoseconds;
};

// Keeps the mean of each repetition, so that the spread between repetitions can be shown.
class TableReporter : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            if (order_.empty() || order_.back() != name) {
                if (results_.find(name) == results_.end()) {
                    order_.push_back(name);
                }
            }
            results_[name].nanoseconds.push_back(run.GetAdjustedRealTime());
        }
    }
    void Finalize() override {
        std::printf("| call | input | min ns | median ns | max ns |\n");
        std::printf("|---|---|---:|---:|---:|\n");
        double worst = 0;
        for (const std::string& name : order_) {
            std::vector<double> ns = results_[name].nanoseconds;
            std::sort(ns.begin(), ns.end());
            const std::size_t n = ns.size();
            const double median = n % 2 == 1 ? ns[n / 2] : (ns[n / 2 - 1] + ns[n / 2]) / 2;
            worst = std::max(worst, ns.back());
            const std::size_t slash = name.find('/');
            std::printf("| %s | %s | %.1f | %.1f | %.1f |\n", name.substr(0, slash).c_str(),
                        name.substr(slash + 1).c_str(), ns.front(), median, ns.back());
        }
        std::printf("\n- slowest repetition of any call: **%.1f ns** (target under 1000 ns: %s)\n",
                    worst, worst < 1000 ? "met" : "missed");
    }

  private:
    std::vector<std::string> order_;
    std::map<std::string, Repetitions> results_;
};

void Register(const std::string& name, void (*body)(benchmark::State&, std::size_t),
              std::size_t index) {
    benchmark::RegisterBenchmark(name.c_str(), body, index)
        ->Repetitions(10)
        ->Unit(benchmark::kNanosecond);
}

void RunFormatFixed(benchmark::State& state, std::size_t index) {
    const FixedCase& c = kFixedCases[index];
    for (auto _ : state) {
        std::string text = FormatFixed(c.value, c.decimals, ",", "");
        benchmark::DoNotOptimize(text);
    }
}

void RunFormatShortest(benchmark::State& state, std::size_t index) {
    const float value = kShortestCases[index].value;
    for (auto _ : state) {
        std::string text = FormatShortest(value);
        benchmark::DoNotOptimize(text);
    }
}

void RunParseDecimal(benchmark::State& state, std::size_t index) {
    const std::string text = kParseCases[index];
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.data());
        float value = ParseDecimal(text);
        benchmark::DoNotOptimize(value);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (std::size_t i = 0; i < std::size(kFixedCases); ++i) {
        Register(std::string("FormatFixed/") + kFixedCases[i].name, RunFormatFixed, i);
    }
    for (std::size_t i = 0; i < std::size(kShortestCases); ++i) {
        Register(std::string("FormatShortest/") + kShortestCases[i].name, RunFormatShortest, i);
    }
    for (std::size_t i = 0; i < std::size(kParseCases); ++i) {
        Register(std::string("ParseDecimal/\"") + kParseCases[i] + "\"", RunParseDecimal, i);
    }
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
