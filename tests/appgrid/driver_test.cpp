// The relaxation ramp of a smoothing phase.

#include "appgrid/bulb.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The factor of each sweep of a phase, as a fraction of the deck's.
std::vector<float> factors(int niter) {
    appgrid::Ramp ramp(niter, 1.0f);
    std::vector<float> f;
    for (int k = 1; k <= niter; ++k) {
        ramp.step(k);
        f.push_back(ramp.omega);
    }
    return f;
}

// From a quarter of the deck's factor up by 4^(1/nr) a sweep, nr = niter/2,
// then level one step below the deck's factor.
TEST(AppgridRamp, FactorsOfEachSweep) {
    struct Case {
        int niter;
        std::vector<float> factors;
        float tol;
    };
    const std::vector<Case> cases = {
        {1, {0.0f}, 0.0f},   // nr = 0: an infinite step and a factor of 0
        {2, {0.25f, 0.25f}, 0.0f},
        {3, {0.25f, 0.25f, 0.25f}, 0.0f},
        {4, {0.25f, 0.5f, 0.5f, 0.5f}, 1e-6f},
        {5, {0.25f, 0.5f, 0.5f, 0.5f, 0.5f}, 1e-6f},
        {10, {0.25f, 0.330f, 0.435f, 0.574f, 0.758f, 0.758f, 0.758f, 0.758f, 0.758f, 0.758f}, 5e-4f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.niter);
        const std::vector<float> f = factors(c.niter);
        ASSERT_EQ(f.size(), c.factors.size());
        for (std::size_t k = 0; k < f.size(); ++k) EXPECT_NEAR(f[k], c.factors[k], c.tol) << k;
    }
    // the level is the deck's factor over 4^(1/nr), never the deck's factor itself
    const std::vector<float> f = factors(10);
    EXPECT_EQ(f[4], f[9]);
    EXPECT_LT(f[9], 1.0f);
}

}  // namespace
