#pragma once

#include <cstdint>

// xoshiro256** seeded through splitmix64. Written out here rather than taken from <random>,
// whose distributions differ between library versions: a seed must give the same corpus anywhere.
class Prng
{
public:
    explicit Prng(std::uint64_t seed)
    {
        for (std::uint64_t& word : m_state) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    // Uniform in [0, bound); bound > 0. The modulo bias is below 2^-40 for the bounds used here.
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }
    // Uniform in [low, high].
    int between(int low, int high) { return low + static_cast<int>(below(static_cast<std::uint64_t>(high - low) + 1)); }
    // True with probability percent / 100.
    bool chance(int percent) { return below(100) < static_cast<std::uint64_t>(percent); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t m_state[4] = {};
};
