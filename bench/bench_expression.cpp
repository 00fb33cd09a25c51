// The formula evaluator against the same formula compiled as plain C++, in
// the same run: Bifurcal's default a * x * (1 - x) through ValueP, over many
// (x, a) pairs taken independently ("Pairs") and iterated as Bifurcal does,
// x <- f(x, a) with a new a every 300 iterates ("Iterates"). The ratio of the
// evaluator's time to the plain function's time is printed for each; it must
// stay below 20. Last, the time to parse the longest formula accepted.

#include "BenchMain.h"
#include "clsExpression.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPairs = 4096;
constexpr int kIteratesPerA = 300;

struct Inputs {
    std::vector<double> x;
    std::vector<double> a;
};

const Inputs& TheInputs() {
    static const Inputs inputs = [] {
        Inputs in;
        std::mt19937_64 random(2024);
        std::uniform_real_distribution<double> unit(0, 1);
        for (int i = 0; i < kPairs; ++i) {
            in.x.push_back(unit(random));
            in.a.push_back(4 * unit(random));
        }
        return in;
    }();
    return inputs;
}

double Plain(double x, double a) {
    return a * x * (1 - x);
}

expression::clsExpression DefaultFormula() {
    expression::clsExpression e;
    int16_t start = 1;
    e.FromString("a * x * (1 - x)", start, -1);
    return e;
}

template <typename F> void Pairs(benchmark::State& state, F f) {
    const Inputs& in = TheInputs();
    for (auto _ : state) {
        for (int i = 0; i < kPairs; ++i) {
            double r = f(in.x[i], in.a[i]);
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(state.iterations() * kPairs);
}

template <typename F> void Iterates(benchmark::State& state, F f) {
    const Inputs& in = TheInputs();
    for (auto _ : state) {
        for (int i = 0; i < kPairs; i += kIteratesPerA) {
            double x = 0.5;
            for (int k = 0; k < kIteratesPerA; ++k)
                x = f(x, in.a[i]);
            benchmark::DoNotOptimize(x);
        }
    }
    state.SetItemsProcessed(state.iterations() * ((kPairs + kIteratesPerA - 1) / kIteratesPerA) *
                            kIteratesPerA);
}

void PlainPairs(benchmark::State& state) {
    Pairs(state, Plain);
}

void ValuePPairs(benchmark::State& state) {
    auto e = DefaultFormula();
    Pairs(state, [&e](double x, double a) { return e.ValueP(x, a); });
}

void PlainIterates(benchmark::State& state) {
    Iterates(state, Plain);
}

void ValuePIterates(benchmark::State& state) {
    auto e = DefaultFormula();
    Iterates(state, [&e](double x, double a) { return e.ValueP(x, a); });
}

// Parsing the longest formula accepted, 1+1+...+1: every split scans the
// whole rest of the text, so this is the worst time a user waits for a parse.
void ParseLongest(benchmark::State& state) {
    std::string text = "1";
    while (text.size() < expression::clsExpression::kMaxLength)
        text += "+1";
    expression::clsExpression e;
    for (auto _ : state) {
        int16_t start = 1;
        e.FromString(text, start, -1);
    }
    if (e.ValueP(0, 0) != 16384)
        state.SkipWithError("wrong value");
}

} // namespace

int main(int argc, char** argv) {
    auto e = DefaultFormula();
    const Inputs& in = TheInputs();
    for (int i = 0; i < kPairs; ++i) {
        if (std::bit_cast<uint64_t>(e.ValueP(in.x[i], in.a[i])) !=
            std::bit_cast<uint64_t>(Plain(in.x[i], in.a[i]))) {
            std::fprintf(stderr, "evaluator and plain C++ disagree; no measurement\n");
            std::abort();
        }
    }
    benchmark::RegisterBenchmark("Plain/Pairs", PlainPairs);
    benchmark::RegisterBenchmark("ValueP/Pairs", ValuePPairs);
    benchmark::RegisterBenchmark("Plain/Iterates", PlainIterates);
    benchmark::RegisterBenchmark("ValueP/Iterates", ValuePIterates);
    benchmark::RegisterBenchmark("Parse/Longest", ParseLongest)->Unit(benchmark::kMillisecond);
    bench::BestTimes times;
    if (bench::Run(argc, argv, &times) != 0)
        return 1;
    for (const char* what : {"Pairs", "Iterates"}) {
        const std::string name = what;
        if (const auto ratio = times.Ratio("ValueP/" + name, "Plain/" + name))
            std::printf("%s: ValueP / plain C++ = %.2f (limit 20)\n", what, *ratio);
    }
    return 0;
}
