// Which recorded samples become keys. The first sample always is; an inner
// sample is keyed when it differs from the sample before it or the one after
// it, or when those two differ from each other (slow motion moves less than
// the tolerance from one frame to the next, but more over two); the last is
// keyed when it differs from the one before it. Any sample that has drifted
// beyond the tolerance from the last key is keyed too, however slowly it got
// there, so that no dropped sample lies far from the keys around it. A
// stretch where the value stands still keeps only its two ends, and a value
// that never changes gets one key.
#pragma once

#include <box2d/b2_math.h>

#include <vector>

// The differences that count: more than 0.001 apart (one-dimensional) or a
// squared distance above 0.001 (two-dimensional), as the view's
// areValuesDifferent says.
bool keyValuesDiffer(float a, float b);
bool keyValuesDiffer(b2Vec2 a, b2Vec2 b);

template <class T>
std::vector<bool> selectKeys(const std::vector<T>& samples)
{
    const size_t n = samples.size();
    std::vector<bool> keep(n, false);
    size_t lastKept = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i == 0)
            keep[i] = true;
        else if (i + 1 == n)
            keep[i] = keyValuesDiffer(samples[i - 1], samples[i]) || keyValuesDiffer(samples[lastKept], samples[i]);
        else
            keep[i] = keyValuesDiffer(samples[i - 1], samples[i]) || keyValuesDiffer(samples[i], samples[i + 1])
                      || keyValuesDiffer(samples[i - 1], samples[i + 1])
                      || keyValuesDiffer(samples[lastKept], samples[i]);
        if (keep[i])
            lastKept = i;
    }
    return keep;
}
