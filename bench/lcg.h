#ifndef LCG_H
#define LCG_H

#include <cstdint>

namespace bench {

// Deterministic generator so every run measures the same chart.
class Lcg
{
public:
    explicit Lcg(std::uint64_t seed) : m_state(seed) {}

    // Uniform in [0, 1).
    double next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(m_state >> 11) / double(1ULL << 53);
    }

private:
    std::uint64_t m_state;
};

} // namespace bench

#endif // LCG_H
