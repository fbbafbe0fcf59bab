#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// The nearest-rank percentile `p` (0.95 for p95) of a benchmark's samples; 0 for none.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::max(1.0, std::ceil(p * values.size())));
    return values[std::min(rank, values.size()) - 1];
}

inline double median(const std::vector<double> &values)
{
    return percentile(values, 0.5);
}
