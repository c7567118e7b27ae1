// Checks the number texts for every one of the 2^32 bit patterns of a float, on all cores:
// - FormatShortest then ParseDecimal gives the same float for every finite magnitude of 2^-10 or
//   more, and the three words read back as the values they stand for;
// - FormatShortest is the exact value rounded to ten decimals, trailing zeros removed;
// - FormatFixed with 1 and 2 decimals (",", "") and FormatDecimals with 1 and 2 are the exact
//   value rounded half to even, compared with ExactFixed, which shares no code with them.
// Usage: every_float [FIRST_PATTERN COUNT] (hexadecimal or decimal); without arguments, all.

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "conversion/number_text.h"
#include "tools/every_float/exact_decimal.h"

namespace {

constexpr std::uint64_t kAllPatterns = std::uint64_t{1} << 32;
constexpr std::uint64_t kChunk = std::uint64_t{1} << 20;
constexpr int kMismatchesShown = 20;

struct Counts {
    std::uint64_t checked = 0;
    std::uint64_t roundTrips = 0;  // finite patterns of magnitude 2^-10 or more
    std::uint64_t words = 0;       // infinities and NaNs
    std::uint64_t mismatches = 0;

    void Add(const Counts& other) {
        checked += other.checked;
        roundTrips += other.roundTrips;
        words += other.words;
        mismatches += other.mismatches;
    }
};

std::mutex reportMutex;
int mismatchesShown = 0;

void Report(std::uint32_t bits, const char* what, const std::string& got,
            const std::string& expected) {
    const std::lock_guard<std::mutex> lock(reportMutex);
    if (mismatchesShown++ < kMismatchesShown) {
        std::fprintf(stderr, "MISMATCH 0x%08x (%a) %s: got \"%s\", expected \"%s\"\n", bits,
                     static_cast<double>(std::bit_cast<float>(bits)), what, got.c_str(),
                     expected.c_str());
    }
}

std::string WithComma(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string TrimmedShortest(std::string text) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

bool SameFloat(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

void Expect(Counts& counts, std::uint32_t bits, const char* what, const std::string& got,
            const std::string& expected) {
    if (got != expected) {
        ++counts.mismatches;
        Report(bits, what, got, expected);
    }
}

void CheckWord(Counts& counts, std::uint32_t bits, float value) {
    ++counts.words;
    const char* word = std::isnan(value) ? "NaN" : (value > 0 ? "+Infinity" : "-Infinity");
    const double wide = static_cast<double>(value);
    Expect(counts, bits, "FormatShortest", FormatShortest(value), word);
    Expect(counts, bits, "FormatFixed 1", FormatFixed(wide, 1, ",", ""), word);
    Expect(counts, bits, "FormatFixed 2", FormatFixed(wide, 2, ",", ""), word);
    Expect(counts, bits, "FormatDecimals 1", FormatDecimals(value, 1), word);
    Expect(counts, bits, "FormatDecimals 2", FormatDecimals(value, 2), word);
    const float back = ParseDecimal(word);
    const bool same = std::isnan(value) ? std::isnan(back) : SameFloat(back, value);
    if (!same) {
        ++counts.mismatches;
        Report(bits, "word read back", std::to_string(back), word);
    }
}

void CheckFinite(Counts& counts, std::uint32_t bits, float value) {
    const double wide = static_cast<double>(value);
    const std::string one = ExactFixed(value, 1);
    const std::string two = ExactFixed(value, 2);
    Expect(counts, bits, "FormatFixed 1", FormatFixed(wide, 1, ",", ""), WithComma(one));
    Expect(counts, bits, "FormatFixed 2", FormatFixed(wide, 2, ",", ""), WithComma(two));
    Expect(counts, bits, "FormatDecimals 1", FormatDecimals(value, 1), one);
    Expect(counts, bits, "FormatDecimals 2", FormatDecimals(value, 2), two);
    const std::string shortest = FormatShortest(value);
    Expect(counts, bits, "FormatShortest", shortest, TrimmedShortest(ExactFixed(value, 10)));
    if (std::fabs(value) >= 0x1p-10f) {
        ++counts.roundTrips;
        const float back = ParseDecimal(shortest);
        if (!SameFloat(back, value)) {
            ++counts.mismatches;
            char text[32];
            std::snprintf(text, sizeof text, "%a", static_cast<double>(back));
            Report(bits, "shortest read back", text, shortest);
        }
    }
}

void CheckRange(std::atomic<std::uint64_t>& next, std::uint64_t end, Counts& counts) {
    for (;;) {
        const std::uint64_t first = next.fetch_add(kChunk);
        if (first >= end) {
            return;
        }
        const std::uint64_t last = std::min(first + kChunk, end);
        for (std::uint64_t pattern = first; pattern < last; ++pattern) {
            const auto bits = static_cast<std::uint32_t>(pattern);
            const float value = std::bit_cast<float>(bits);
            if (std::isfinite(value)) {
                CheckFinite(counts, bits, value);
            } else {
                CheckWord(counts, bits, value);
            }
            ++counts.checked;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t first = 0;
    std::uint64_t count = kAllPatterns;
    if (argc == 3) {
        first = std::strtoull(argv[1], nullptr, 0);
        count = std::strtoull(argv[2], nullptr, 0);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: %s [FIRST_PATTERN COUNT]\n", argv[0]);
        return 2;
    }
    const std::uint64_t end = std::min(first + count, kAllPatterns);
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const auto start = std::chrono::steady_clock::now();

    std::atomic<std::uint64_t> next{first};
    std::vector<Counts> perThread(threads);
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) {
        workers.emplace_back(CheckRange, std::ref(next), end, std::ref(perThread[i]));
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    Counts total;
    for (const Counts& counts : perThread) {
        total.Add(counts);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("patterns checked: %llu (from 0x%08llx), on %u threads\n",
                static_cast<unsigned long long>(total.checked),
                static_cast<unsigned long long>(first), threads);
    std::printf("shortest-text round trips (finite, magnitude >= 2^-10): %llu\n",
                static_cast<unsigned long long>(total.roundTrips));
    std::printf("infinities and NaNs: %llu\n", static_cast<unsigned long long>(total.words));
    std::printf("mismatches: %llu\n", static_cast<unsigned long long>(total.mismatches));
    std::printf("time: %.1f s\n", took.count());
    return total.mismatches == 0 ? 0 : 1;
}
