#ifndef BENCHCOMMON_H
#define BENCHCOMMON_H

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace bench {

// Deterministic generator so every run measures the same chart.
class Lcg
{
public:
    explicit Lcg(std::uint64_t seed)
        : m_state(seed)
    { }

    // Uniform in [0, 1).
    double next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(m_state >> 11) / double(1ULL << 53);
    }

private:
    std::uint64_t m_state;
};

// Milliseconds per iteration of each loop timed by `timed`, by name, for the ratios printed at the end.
inline std::map<std::string, double>& perCallMs()
{
    static std::map<std::string, double> figures;
    return figures;
}

// Runs body once per iteration and keeps the time per iteration under key.
template <typename Body> void timed(benchmark::State& state, const std::string& key, Body body)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    const auto end = std::chrono::steady_clock::now();
    perCallMs()[key] = std::chrono::duration<double, std::milli>(end - start).count() / double(state.iterations());
}

// Prints the time per call of `step` against that of `baseline` and their ratio, when both ran.
inline void printRatio(const char* step, const char* baseline)
{
    const auto a = perCallMs().find(step);
    const auto b = perCallMs().find(baseline);
    if (a != perCallMs().end() && b != perCallMs().end())
        std::printf("%-28s %8.3f ms against %8.3f ms (%s): %.2fx\n", step, a->second, b->second, baseline, a->second / b->second);
}

// Runs the registered benchmarks with the command line's options; false on an unknown option.
inline bool runRegistered(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return false;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return true;
}

} // namespace bench

#endif // BENCHCOMMON_H
