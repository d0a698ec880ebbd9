#include "line.hpp"

#include "lib/arcs.hpp"
#include "lib/curves.hpp"

namespace gridedit {

void measure(WorkArrays& w, int method, int n) {
    geom::Vec lx = work_vec(w, 1), ly = work_vec(w, 2), lz = work_vec(w, 3), s = work_vec(w, 4);
    if (method == 1)
        geom::arc3(lx, ly, lz, s, n);
    else
        geom::arcxyz(n, lx, ly, lz, s);
}

float first_slope(geom::Vec f, geom::Vec s) {
    const float s1 = s(1), s2 = s(2), s3 = s(3);
    return f(1) * (2.0f * s1 - s2 - s3) / ((s1 - s2) * (s1 - s3)) + f(2) * (s1 - s3) / ((s2 - s3) * (s2 - s1)) +
           f(3) * (s1 - s2) / ((s3 - s2) * (s3 - s1));
}

void resample(WorkArrays& w, int method, int n, int nout, const float (&first)[3], const float (&last)[3]) {
    geom::Vec lx = work_vec(w, 1), ly = work_vec(w, 2), lz = work_vec(w, 3), s = work_vec(w, 4);
    geom::Vec nx = work_vec(w, 5), ny = work_vec(w, 6), nz = work_vec(w, 7), t = work_vec(w, 8);
    if (method == 1) {
        geom::intrp3(s, lx, ly, lz, n, t, nx, ny, nz, nout);
        return;
    }
    for (int c = 0; c < 3; ++c) {
        const geom::Vec from = work_vec(w, 1 + c), to = work_vec(w, 5 + c);
        if (method == 2)
            geom::runatk(n, s, from, nout, t, to, atk_order, atk_tol);
        else
            geom::spline(s, from, t, to, work_vec(w, 9), work_vec(w, 10), work_vec(w, 11), work_vec(w, 12),
                         work_vec(w, 13), 1, 1, first[c], last[c], n, nout, 1);
    }
}

}  // namespace gridedit
