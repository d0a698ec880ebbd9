// Friction lines of a chordwise strip: laminar, turbulent and transition
// lines with thickness form factors, a thickness-dependent transition band
// and a table of section drag against Reynolds number; the first four lines
// also serve the bodies.
#include "hydrosum/input/parts.hpp"

#include "lib/arcs.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace hydrosum {

namespace {

float laminar(float re) { return 1.328f / std::pow(re, 0.5f); }
float turbulent(float re) { return 0.455f / std::pow(std::log10(re), 2.58f); }
float k_thickness(float t) { return 1.0f + 1.2f * t + 70.0f * (t * t * t * t); }
float k_section(float t) { return 1.0f + 2.0f * t + 60.0f * (t * t * t * t); }

constexpr float transition_re = 500000.0f;   // the laminar line of option 3 ends here
constexpr float laminar_floor = 0.00293f;    // option 4 raises the laminar line to this
constexpr float turbulent_least_re = 1.0e7f;   // the band's turbulent side never uses a smaller Re

// Transition band: thickness ratio and the base-10 exponents of its edges.
constexpr int band_rows = 10;
constexpr std::array<float, band_rows> band_t = {0.0f, 0.06f, 0.12f, 0.2f, 0.25f, 0.37f, 0.5f, 0.66f, 1.0f, 2.0f};
constexpr std::array<float, band_rows> band_lo = {4.6f, 4.7f, 4.8f, 4.9f, 5.0f, 5.1f, 5.2f, 5.3f, 5.5f, 5.75f};
constexpr std::array<float, band_rows> band_hi = {5.5f, 5.6f, 5.7f, 5.7f, 5.7f, 5.7f, 5.7f, 5.7f, 5.8f, 5.9f};

// Section drag coefficient against Reynolds number.
constexpr int section_points = 15;
constexpr std::array<float, section_points> section_re = {1010.0f,  4006.7f,  7003.3f, 10000.0f, 59000.0f,
                                                          100000.0f, 300000.0f, 500000.0f, 1.0e6f,  2.0e6f,
                                                          3.0e6f,   1.0e7f,   3.9667e7f, 6.9333e7f, 9.9e7f};
constexpr std::array<float, section_points> section_cd = {0.046094f, 0.024039f, 0.018621f, 0.015877f, 0.0075486f,
                                                          0.00608f,  0.00385f,  0.00355f,  0.00336f,  0.00325f,
                                                          0.00317f,  0.0032227f, 0.002608f, 0.0024049f, 0.0022867f};

// Edges of the band at thickness t, linear in Re between rows.
void band(float t, float& re_lo, float& re_hi) {
    int row = 0;   // below the first row's t: the first row
    for (int i = band_rows - 1; i >= 0; --i)
        if (band_t[static_cast<std::size_t>(i)] <= t) {
            row = i;
            break;
        }
    const auto r = static_cast<std::size_t>(row);
    re_lo = std::pow(10.0f, band_lo[r]);
    re_hi = std::pow(10.0f, band_hi[r]);
    if (row == band_rows - 1 || !(t >= band_t[0])) return;
    const float lo_next = std::pow(10.0f, band_lo[r + 1]);
    const float hi_next = std::pow(10.0f, band_hi[r + 1]);
    const float f = (t - band_t[r]) / (band_t[r + 1] - band_t[r]);
    re_lo = re_lo + f * (lo_next - re_lo);
    re_hi = re_hi + f * (hi_next - re_hi);
}

void transition_band(int option, float re, float t, float& cf, float& k, float& cd) {
    float re_lo = 0.0f, re_hi = 0.0f;
    band(t, re_lo, re_hi);
    float cf_l = 0.0f, cd_l = 0.0f;
    if (re < re_hi) {
        cf_l = laminar(std::min(re, re_lo));
        cd_l = (1.0f + t) * cf_l + 0.5f * (t * t);
        if (re <= re_lo) {
            cf = cf_l;
            cd = cd_l;
            k = cd_l / cf_l;
            return;
        }
    }
    const float cf_t = turbulent(std::max(re, turbulent_least_re));
    const float k_t = option == 5 ? k_section(t) : k_thickness(t);
    const float cd_t = cf_t * k_t;
    if (re >= re_hi) {
        cf = cf_t;
        k = k_t;
        cd = cd_t;
        return;
    }
    // straight lines in log-log coordinates across the band
    const float f = (std::log(re) - std::log(re_lo)) / (std::log(re_hi) - std::log(re_lo));
    cf = std::exp(std::log(cf_l) + f * (std::log(cf_t) - std::log(cf_l)));
    cd = std::exp(std::log(cd_l) + f * (std::log(cd_t) - std::log(cd_l)));
    k = cd / cf;
}

void section_table(float re, float& cf, float& k, float& cd) {
    std::array<float, section_points> lre{}, lcd{};
    for (std::size_t i = 0; i < section_re.size(); ++i) {
        lre[i] = std::log10(section_re[i]);
        lcd[i] = std::log10(section_cd[i]);
    }
    float at = std::log10(re);
    float value = 0.0f;
    geom::intrp1(lre.data(), lcd.data(), section_points, &at, &value, 1);
    cd = std::pow(10.0f, value);
    k = 1.0f;
    cf = cd / k;
}

// Whether line `option` (1 to 7) has a value at re: a positive finite Re,
// and for the turbulent line taken at Re itself (options 2 and 4) one whose
// logarithm is positive.
bool holds(int option, float re) {
    const bool turbulent_at_re = option == 2 || option == 4;
    return re > 0.0f && std::isfinite(re) && !(turbulent_at_re && re <= 1.0f);
}

// cf of lines 1 to 4 where they hold.
float line_cf(int option, float re) {
    switch (option) {
    case 1: return laminar(re);
    case 2: return turbulent(re);
    case 3: {
        if (re < transition_re) return laminar(re);
        // matched so that both branches meet at the transition
        const float a = (turbulent(transition_re) - laminar(transition_re)) * transition_re;
        return turbulent(re) - a / re;
    }
    default: return std::min(std::max(laminar(re), laminar_floor), turbulent(re));
    }
}

}  // namespace

float friction_cf(int option, float re) {
    if (option < 1 || option > 4 || !holds(option, re)) return 0.0f;
    return line_cf(option, re);
}

void strip(int option, float re, float t, float& cf, float& k, float& cd) {
    if (option < 1 || option > 7) return;   // not a friction line: the caller's values stay
    if (!holds(option, re)) {
        cf = 0.0f;
        k = 0.0f;
        cd = 0.0f;
        return;
    }
    if (option == 7) {
        section_table(re, cf, k, cd);
        return;
    }
    if (option >= 5) {
        transition_band(option, re, t, cf, k, cd);
        return;
    }
    cf = line_cf(option, re);
    k = k_thickness(t);
    cd = k * cf;
}

}  // namespace hydrosum
