#include "intersect/oriented.hpp"

#include "intersect/work.hpp"
#include "textio/textio.hpp"

#include <cstdint>
#include <string>

namespace intersect {

namespace {

constexpr Spec plus_m{'+', 'm'};
constexpr Spec plus_n{'+', 'n'};

// How file point (i, j) of an mf x nf file maps to memory: the file's i
// and j turned by their directions, then exchanged when xsi is the file's j.
struct Orientation {
    bool i_forward, j_forward, xsi_is_i;
    int mf, nf;

    Orientation(const Spec& dx, const Spec& de, int mf_, int nf_)
        : i_forward(dx == plus_m || de == plus_m),
          j_forward(dx == plus_n || de == plus_n),
          xsi_is_i(names_m(dx)),
          mf(mf_),
          nf(nf_) {}

    int xsi_size() const { return xsi_is_i ? mf : nf; }
    // 0-based memory offset of file point (i, j)
    std::int64_t offset(int i, int j) const {
        const int ip = i_forward ? i : mf + 1 - i;
        const int jp = j_forward ? j : nf + 1 - j;
        const int xsi = xsi_is_i ? ip : jp;
        const int eta = xsi_is_i ? jp : ip;
        return static_cast<std::int64_t>(eta - 1) * xsi_size() + (xsi - 1);
    }
};

}  // namespace

void open_or_fail(int unit, std::string_view name, textio::Access access) {
    if (const textio::OpenResult opened = textio::open(unit, name, access); !opened)
        textio::fail_open(unit, textio::shown_name(name), opened.status);
}

void mnread(int iunit, std::string_view fname, std::span<char> title, int iopen, int irewind, int iclose,
            std::span<float> w, int mw, int& lw, int& ix, int& iy, int& iz, int& m, int& n, const Spec& dx,
            const Spec& de) {
    if (iopen != 0) open_or_fail(iunit, fname, textio::Access::existing);
    if (irewind != 0) textio::rewind(iunit);
    auto finish = [&] {
        if (iclose != 0) textio::close(iunit);
    };

    m = 0;
    n = 0;
    std::int32_t mf = 0, nf = 0;
    const textio::Result header = textio::read(iunit, "(2i5,10x,a)", mf, nf, title);
    if (header.status == textio::Status::end) {
        ix = iy = iz = lw + 1;
        finish();
        return;
    }
    if (!header) throw textio::failure_from(header);
    if (mf < 0 || nf < 0) textio::Runtime::instance().unit(iunit).fail("negative point count in the network header");

    // i5 counts multiply past 32 bits
    const std::int64_t mn = static_cast<std::int64_t>(mf) * nf;
    const std::int64_t nw = 3 * mn + lw;
    if (nw > mw) capacity_stop(" message from mnread:", " network nw=", nw, mw);
    ix = lw + 1;
    iy = ix + static_cast<int>(mn);
    iz = iy + static_cast<int>(mn);
    lw = iz + static_cast<int>(mn);

    if (dx[1] == de[1]) {   // no orientation: nothing is read
        finish();
        return;
    }
    const Orientation o(dx, de, mf, nf);
    float* const x = w.data() + (ix - 1);
    float* const y = w.data() + (iy - 1);
    float* const z = w.data() + (iz - 1);
    for (int j = 1; j <= nf; ++j)
        for (int i = 1; i <= mf; ++i) {
            // one read per point: a file must hold one point per record
            const std::int64_t k = o.offset(i, j);
            textio::read_list_required(iunit, x[k], y[k], z[k]);
        }
    m = o.xsi_size();
    n = o.xsi_is_i ? nf : mf;
    finish();
}

void mnwrit(int iunit, std::string_view fname, std::string_view title, int iopen, int irewind, int iclose,
            geom::Vec x, geom::Vec y, geom::Vec z, int m, int n, const Spec& dx, const Spec& de) {
    if (iopen != 0) open_or_fail(iunit, fname, textio::Access::existing_or_new);
    if (irewind != 0) textio::rewind(iunit);
    const bool oriented_ok = dx[1] != de[1];
    const bool swapped = oriented_ok && !names_m(dx);
    const std::int32_t mf = swapped ? n : m;
    const std::int32_t nf = swapped ? m : n;
    textio::write(iunit, "(2i5,10x,a)", mf, nf, title);
    if (oriented_ok && mf > 0 && nf > 0) {
        const Orientation o(dx, de, mf, nf);
        textio::Out out(iunit, "(3e16.8)");
        for (int j = 1; j <= nf; ++j)
            for (int i = 1; i <= mf; ++i) {
                const int k = static_cast<int>(o.offset(i, j)) + 1;
                out(x(k))(y(k))(z(k));
            }
        out.end();
    }
    if (iclose != 0) textio::close(iunit);
}

}  // namespace intersect
