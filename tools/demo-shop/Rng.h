#pragma once

#include <QtGlobal>

#include <cstdint>

// A small generator of its own (splitmix64), so the seeded shop is the same on every system
// and library.
class Rng {
public:
    explicit Rng(std::uint64_t seed)
        : m_state(seed)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // From low to high, both included.
    qint64 between(qint64 low, qint64 high)
    {
        return low + qint64(next() % std::uint64_t(high - low + 1));
    }
    // True in percent cases out of a hundred.
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename List> const auto& pick(const List& list)
    {
        return list[std::size_t(between(0, qint64(std::size(list)) - 1))];
    }

private:
    std::uint64_t m_state;
};
