#include "arcs.hpp"

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

// The segment (k-1, k) that the table uses for abscissa t, n >= 2.
int segment(Vec x, int n, float t) {
    if (x(n) > x(1)) {
        for (int k = 2; k <= n; ++k)
            if (x(k) >= t) return k;
    } else {
        for (int k = 2; k <= n; ++k)
            if (x(k) <= t) return k;
    }
    return n;
}

float mean(Vec y, int n) {
    float sum = 0.0f;
    for (int k = 1; k <= n; ++k) sum += y(k);
    return sum / static_cast<float>(n);
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
    if (ni <= 0) return;
    if (x(n) == x(1)) {
        const float m = mean(y, n);
        for (int p = 1; p <= ni; ++p) yi(p) = m;
        return;
    }
    for (int p = 1; p <= ni; ++p) {
        int k = segment(x, n, xi(p));
        float dx = x(k) - x(k - 1);
        if (dx == 0.0f) {
            // an end segment of zero length: its mean rather than a division by zero
            yi(p) = 0.5f * (y(k - 1) + y(k));
            continue;
        }
        yi(p) = ((xi(p) - x(k - 1)) / dx) * (y(k) - y(k - 1)) + y(k - 1);
    }
}

void intrp3(Vec x, Vec y1, Vec y2, Vec y3, int n, Vec xi, Vec y1i, Vec y2i, Vec y3i, int ni) {
    if (ni <= 0) return;
    if (x(n) == x(1)) {
        const float m1 = mean(y1, n), m2 = mean(y2, n), m3 = mean(y3, n);
        for (int p = 1; p <= ni; ++p) {
            y1i(p) = m1;
            y2i(p) = m2;
            y3i(p) = m3;
        }
        return;
    }
    for (int p = 1; p <= ni; ++p) {
        int k = segment(x, n, xi(p));
        float dx = x(k) - x(k - 1);
        if (dx == 0.0f) {
            y1i(p) = 0.5f * (y1(k - 1) + y1(k));
            y2i(p) = 0.5f * (y2(k - 1) + y2(k));
            y3i(p) = 0.5f * (y3(k - 1) + y3(k));
            continue;
        }
        float f = (xi(p) - x(k - 1)) / dx;
        y1i(p) = f * (y1(k) - y1(k - 1)) + y1(k - 1);
        y2i(p) = f * (y2(k) - y2(k - 1)) + y2(k - 1);
        y3i(p) = f * (y3(k) - y3(k - 1)) + y3(k - 1);
    }
}

}  // namespace geom
