// Shared by the intersection unit tests: a console and a scratch directory
// per test, networks held as the routines see them, and network files as text.
#pragma once

#include "intersect/panels.hpp"
#include "lib/grid.hpp"
#include "support/console.hpp"
#include "support/scratch.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace intersect_test {

using P3 = std::array<float, 3>;
using PointAt = std::function<P3(int i, int j)>;

// A console, and a directory of the test's own for files.
class RoutineTest : public test_support::ConsoleTest {
protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& text) const { test_support::write_file(dir_ / name, text); }
    std::string get(const std::string& name) const { return test_support::read_file(dir_ / name); }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

private:
    test_support::TempDir dir_{"intersect-unit"};
};

// The text of a network file: header "(2i5,10x,a)", one point a line with
// values that read back to the same floats.
inline std::string network_text(int m, int n, std::string_view title, const PointAt& at) {
    char head[32];
    std::snprintf(head, sizeof head, "%5d%5d%10s", m, n, "");
    std::string text = head + std::string(title) + "\n";
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= m; ++i) {
            const P3 p = at(i, j);
            char line[80];
            std::snprintf(line, sizeof line, "%.9g %.9g %.9g\n", p[0], p[1], p[2]);
            text += line;
        }
    return text;
}

// An m x n network in memory orientation, leading dimension m.
struct Net {
    int m = 0, n = 0;
    std::vector<float> x, y, z;

    Net(int m_, int n_, const PointAt& at = nullptr)
        : m(m_), n(n_), x(std::size_t(m_ * n_ + 1)), y(x), z(x) {
        if (at)
            for (int j = 1; j <= n; ++j)
                for (int i = 1; i <= m; ++i) set(i, j, at(i, j));
    }
    std::size_t k(int i, int j) const { return std::size_t(i - 1) + std::size_t(j - 1) * std::size_t(m); }
    void set(int i, int j, const P3& p) {
        x[k(i, j)] = p[0];
        y[k(i, j)] = p[1];
        z[k(i, j)] = p[2];
    }
    P3 at(int i, int j) const { return {x[k(i, j)], y[k(i, j)], z[k(i, j)]}; }
    geom::Grid gx() { return geom::Grid(x.data(), m); }
    geom::Grid gy() { return geom::Grid(y.data(), m); }
    geom::Grid gz() { return geom::Grid(z.data(), m); }
};

// One cell from its corners P1 (1, 1), P2 (2, 1), P3 (2, 2), P4 (1, 2).
inline Net cell(P3 p1, P3 p2, P3 p3, P3 p4) {
    Net n(2, 2);
    n.set(1, 1, p1);
    n.set(2, 1, p2);
    n.set(2, 2, p3);
    n.set(1, 2, p4);
    return n;
}

// The 14 panel slices of a target, in one block as the work array holds them.
struct PanelStore {
    int np;
    std::vector<float> cells;

    explicit PanelStore(const Net& target)
        : np(static_cast<int>(intersect::panel_count(target.m, target.n))),
          cells(std::size_t(intersect::Panels::cells_per_panel * np + 1)) {}

    intersect::Panels view() {
        float* b = cells.data();
        auto at = [&](int first) { return geom::Vec(b + first * np); };
        return {at(0), at(1), at(2), at(3), at(7), at(11), at(12), at(13), at(14), at(15), at(16), at(17), at(18), at(19)};
    }
};

}  // namespace intersect_test
