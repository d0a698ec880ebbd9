#include "arcs.hpp"

#include "lib/interp.hpp"

#include <algorithm>
#include <cmath>

namespace geom {

namespace {

float dist(Vec x, Vec y, Vec z, int a, int b) {
    float dx = x(b) - x(a);
    float dy = y(b) - y(a);
    float dz = z(b) - z(a);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

void arc3(Vec x, Vec y, Vec z, Vec s, int n) {
    s(1) = 0.0f;
    for (int k = 2; k <= n; ++k) s(k) = s(k - 1) + dist(x, y, z, k - 1, k);
}

void arcn(Vec s, int n) {
    const float total = s(n);
    if (total == 0.0f) return;
    for (int k = 1; k <= n; ++k) s(k) = s(k) / total;
}

void arcxyz(int n, Vec x, Vec y, Vec z, Vec s) {
    for (int k = 1; k <= n; ++k) s(k) = 0.0f;
    float a = dist(x, y, z, 1, 2);
    if (n < 3) {
        s(2) = a;
        return;
    }
    for (int k = 1; k <= n - 2; ++k) {
        float b = dist(x, y, z, k + 1, k + 2);
        float c = dist(x, y, z, k, k + 2);
        double p = (static_cast<double>(a) + b + c) / 2.0;
        double heron = p * std::fabs(p - a) * std::fabs(p - b) * std::fabs(p - c);
        float area = std::sqrt(static_cast<float>(heron));
        float arc_a = a;
        float arc_b = b;
        if (area != 0.0f) {
            float r = a * b * c / (4.0f * area);
            // rounding can put the half chord a hair beyond the radius
            arc_a = 2.0f * r * std::asin(std::min(0.5f * a / r, 1.0f));
            arc_b = 2.0f * r * std::asin(std::min(0.5f * b / r, 1.0f));
        }
        s(k + 1) = s(k + 1) + arc_a;
        s(k + 2) = s(k + 2) + arc_b;
        a = b;
    }
    if (n == 3) {
        s(3) = s(2) + s(3);
        return;
    }
    for (int j = 3; j <= n - 1; ++j) s(j) = 0.5f * s(j);
    double total = s(2);
    for (int j = 3; j <= n; ++j) {
        total = total + s(j);
        s(j) = static_cast<float>(total);
    }
}

void intrp1(Vec x, Vec y, int n, Vec xi, Vec yi, int ni) {
    interp<1>(x.data(), {y.data()}, n, xi.data(), {yi.data()}, ni);
}

void intrp3(Vec x, Vec y1, Vec y2, Vec y3, int n, Vec xi, Vec y1i, Vec y2i, Vec y3i, int ni) {
    interp<3>(x.data(), {y1.data(), y2.data(), y3.data()}, n, xi.data(), {y1i.data(), y2i.data(), y3i.data()}, ni);
}

}  // namespace geom
