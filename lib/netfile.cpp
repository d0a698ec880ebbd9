#include "netfile.hpp"

#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <array>
#include <cstdint>

namespace geom {

namespace {

bool fits(std::span<const float> a, int idim, int jdim) {
    return idim > 0 && jdim > 0 &&
           static_cast<std::int64_t>(idim) * jdim <= static_cast<std::int64_t>(a.size());
}

std::size_t index(int i, int j, int idim) {
    return static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(idim);
}

// One free-format read of the points (ia..ib) x (ja..jb), j outer.
bool read_points(int iunit, std::span<float> x, std::span<float> y, std::span<float> z, int idim, int ia,
                 int ib, int ja, int jb) {
    textio::In in(iunit, textio::list_directed);
    for (int j = ja; j <= jb && in.ok(); ++j)
        for (int i = ia; i <= ib && in.ok(); ++i) {
            std::size_t k = index(i, j, idim);
            in(x[k])(y[k])(z[k]);
        }
    return static_cast<bool>(in.done());
}

}  // namespace

void readnet(int iunit, std::string_view fname, std::span<char> title, NetStatus& status, int iblock,
             std::span<float> x, std::span<float> y, std::span<float> z, int idim, int jdim, int& imax,
             int& jmax, int i1, int i2, int j1, int j2, int& klue) {
    status = {};
    textio::OpenResult opened = textio::open(iunit, fname, textio::Access::existing);
    if (!opened) {
        status = {NetStatus::Kind::open_refused, opened.status};
        return;
    }
    auto fail = [&] {
        status.kind = NetStatus::Kind::not_a_network;
        textio::close(iunit);
    };
    std::int32_t inew = 0, jnew = 0;
    if (!textio::read(iunit, "(2i5,i5,5x,a)", inew, jnew, klue, title)) return fail();
    if (!fits(x, idim, jdim) || !fits(y, idim, jdim) || !fits(z, idim, jdim)) return fail();

    if (iblock == 0) {
        // a negative count is as unreadable as a letter
        if (inew > idim || jnew > jdim || inew < 0 || jnew < 0) return fail();
        imax = inew;
        jmax = jnew;
        if (!read_points(iunit, x, y, z, idim, 1, imax, 1, jmax)) return fail();
    } else {
        const int bi = i2 - i1 + 1;
        const int bj = j2 - j1 + 1;
        if (bi != inew || bj != jnew) {
            textio::write(6, "(a,/,a,2i5,a,2i5)", " error in readnet:", " network inew,jnew=", inew, jnew,
                          " .gt. subblock i2-i1+1 , j2-j1+1 = ", bi, bj);
            return fail();
        }
        if (i1 < 1 || i2 > idim || j1 < 1 || j2 > jdim) return fail();
        if (!read_points(iunit, x, y, z, idim, i1, i2, j1, j2)) return fail();
    }
    textio::close(iunit);
}

void writnet(int iunit, std::string_view fname, std::string_view title, NetStatus& status, int iblock,
             std::span<const float> x, std::span<const float> y, std::span<const float> z, int idim, int jdim,
             int imax, int jmax, int i1, int i2, int j1, int j2, int klue) {
    status = {};
    if (iblock != 0) {
        std::array<char, 10> answer;
        for (;;) {
            textio::write(6, "(a,/,a)", " subblock is active ... output ? (y/n)", " ? ");
            blank(answer, 10);
            textio::Result r = textio::read(5, "(a)", answer);
            // the end of the answers would otherwise ask without end
            if (r.status == textio::Status::end) throw textio::failure_from(r);
            std::string_view a(answer.data(), answer.size());
            if (r && (a == "n         " || a == "N         ")) return;
            if (r && (a == "y         " || a == "Y         ")) break;
            textio::fail_and_go_on();   // asked again, but the run has failed
        }
    }
    int ia = 1, ib = imax, ja = 1, jb = jmax;
    if (iblock != 0) {
        ia = i1;
        ib = i2;
        ja = j1;
        jb = j2;
    }
    // a range outside the arrays cannot be written
    if (ib >= ia && jb >= ja &&
        (ia < 1 || ja < 1 || ib > idim || jb > jdim || !fits(x, idim, jdim) || !fits(y, idim, jdim) ||
         !fits(z, idim, jdim))) {
        status.kind = NetStatus::Kind::outside_arrays;
        return;
    }
    textio::OpenResult opened = textio::open(iunit, fname, textio::Access::existing_or_new);
    if (!opened) {
        status = {NetStatus::Kind::open_refused, opened.status};
        return;
    }
    const int len = lenchr(title);
    const std::string_view head = title.substr(0, static_cast<std::size_t>(len));
    const std::int32_t ni = ib - ia + 1;
    const std::int32_t nj = jb - ja + 1;
    if (klue == 0)
        textio::write(iunit, "(2i5,10x,a)", ni, nj, head);
    else
        textio::write(iunit, "(2i5,i5,5x,a)", ni, nj, klue, head);
    textio::Out out(iunit, textio::fmt("(1p3e16.8)"));
    for (int j = ja; j <= jb; ++j)
        for (int i = ia; i <= ib; ++i) {
            std::size_t k = index(i, j, idim);
            out(x[k])(y[k])(z[k]);
        }
    out.end();
    textio::close(iunit);
}

}  // namespace geom
