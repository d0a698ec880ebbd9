// The viscous drag of the yacht's parts: part networks found through the
// environment, friction lines, and the hull, bulb and foil routines.
#pragma once

#include "hydrosum/input/store.hpp"
#include "hydrosum/tables/frame.hpp"

#include <array>
#include <functional>
#include <span>

namespace hydrosum {

// Every case of the present r and k runs that hold cases, for every heel
// and run (r before k), then of ku.
void visit_cases(Store& st, const std::function<void(const Run&, int)>& f);

// The speed of case i for its Reynolds numbers: its own, or the smallest
// case speed (comscl 18) when it is not above 1e-6.
inline float case_speed(Store& st, const Run& run, int i) {
    const float v = run.s(i, frame::speed);
    return v > 1.0e-6f ? v : st.c(18);
}

// Reynolds number of speed v, density rho, length and viscosity mu, in this order.
inline float reynolds(float v, float rho, float length, float mu) { return v * rho * length / mu; }

// path = the network file `file` resolved against the directory `dir`
// and the environment (HOME, ZOZU_HOME, ZOZU_WORKDIR); 255 characters each.
void dirfil(std::span<const char> dir, std::span<const char> file, std::span<char> path);

inline constexpr int part_dim = 201;   // points a part network may have in each direction

enum Part { hull, keel, bulb, wing, rudder, frud };

// A part network as the drag routines hold it, scaled to full size.
struct PartNetwork {
    int ni = 0, nj = 0;
    std::array<float, static_cast<std::size_t>(part_dim) * part_dim> x{}, y{}, z{};
    float& px(int i, int j) { return x[at(i, j)]; }
    float& py(int i, int j) { return y[at(i, j)]; }
    float& pz(int i, int j) { return z[at(i, j)]; }
    static std::size_t at(int i, int j) { return static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(part_dim) * (j - 1); }
};

// The network of a part: its path resolved, its header checked against the
// capacity (and the least its geometry needs), its points read and scaled
// by the scale ratio. A size outside the limits stops the run.
void read_part_network(Store& st, Part part, PartNetwork& net);

// "keel stripping, option" and the part's friction option.
void stripping_line(Store& st, Part part);

// "error ... keel network geometry degenerate" (the part's word), then the stop.
[[noreturn]] void degenerate_stop(Part part);

// Friction coefficient cf, form factor k and drag coefficient cd of one
// friction line option at Reynolds number re and thickness ratio t.
void strip(int option, float re, float t, float& cf, float& k, float& cd);

// The cf of strip's options 1 to 4 at re, the lines of the bodies; 0 for
// any other option and where strip gives none.
float friction_cf(int option, float re);

// Drag areas of each part into slots 53, 55, 56, 57, 58, 59.
void vhull(Store& st);
void vkeel(Store& st);
void vbulb(Store& st);
void vwing(Store& st);
void vrudr(Store& st);
void vfrud(Store& st);

}  // namespace hydrosum
