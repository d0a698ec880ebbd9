// runplan: a text list of test points (label, speed, heel, yaw, rudder, tab)
// to the source of the test-matrix routine setmat, the points grouped by
// heel and, within a heel, into runs of rising speed (yaw groups).
#include "convert/dialogue.hpp"
#include "textio/number_writer.hpp"
#include "textio/textio.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace runplan {

namespace {

constexpr int nhdim = 11;    // heel groups
constexpr int nydim = 61;    // yaw groups of a heel group
constexpr int nsdim = 101;   // points of a yaw group, a zero-speed point included
// Heels closer than this are one heel; a speed up to it is no speed.
constexpr float tolerance = 1.0e-5f;
constexpr int input_unit = 1;
constexpr int output_unit = 2;
// A name typed past its 256 columns is refused rather than opened cut.
using Name = textio::NameAnswer<256>;
constexpr int header_lines = 3;

struct Point {
    float speed = 0.0f;
    float heel = 0.0f;
    float yaw = 0.0f;
    float rudder = 0.0f;
    float tab = 0.0f;
};

// The grouped points; indices from 1 as the routine's arrays have them.
struct Matrix {
    std::array<Point, std::size_t{nsdim} * nydim * nhdim> points{};
    std::array<int, nhdim> iyaw_{};
    std::array<int, std::size_t{nydim} * nhdim> ivhy_{};
    int nh = 1;

    Matrix() {
        iyaw(1) = 1;
        ivhy(1, 1) = 1;
    }
    int& iyaw(int ih) { return iyaw_[static_cast<std::size_t>(ih - 1)]; }
    int iyaw(int ih) const { return iyaw_[static_cast<std::size_t>(ih - 1)]; }
    int& ivhy(int iy, int ih) { return ivhy_[at(iy, ih)]; }
    int ivhy(int iy, int ih) const { return ivhy_[at(iy, ih)]; }
    Point& point(int k, int iy, int ih) { return points[at(iy, ih) * nsdim + static_cast<std::size_t>(k - 1)]; }
    const Point& point(int k, int iy, int ih) const {
        return points[at(iy, ih) * nsdim + static_cast<std::size_t>(k - 1)];
    }
    // The last point of the current yaw group: the previous record.
    const Point& last() const { return point(ivhy(iyaw(nh), nh), iyaw(nh), nh); }

private:
    static std::size_t at(int iy, int ih) {
        return static_cast<std::size_t>(ih - 1) * nydim + static_cast<std::size_t>(iy - 1);
    }
};

[[noreturn]] void limit_stop(std::string_view what, int value, std::string_view limit, int capacity) {
    textio::write(textio::stdout_unit, "(a,i5,a,i5)", what, value, limit, capacity);
    textio::error_stop();
}

// The record opens the current yaw group; at a speed above zero the group
// starts at rest.
void open_group(Matrix& m, const Point& p) {
    const int iy = m.iyaw(m.nh);
    int& n = m.ivhy(iy, m.nh);
    n = 1;
    if (p.speed > tolerance) {
        m.point(1, iy, m.nh) = p;
        m.point(1, iy, m.nh).speed = 0.0f;
        n = 2;
    }
    m.point(n, iy, m.nh) = p;
}

// A later record against the previous one: another heel opens a heel group,
// a lower speed a yaw group; anything else is the next point. A comparison
// with NaN never holds, but such records are refused before they get here.
void add_record(Matrix& m, const Point& p) {
    const Point last = m.last();
    if (std::fabs(p.heel - last.heel) > tolerance) {
        if (++m.nh > nhdim) limit_stop("error: nh=", m.nh, " > nhdim=", nhdim);
        m.iyaw(m.nh) = 1;
        open_group(m, p);
    } else if (last.speed > p.speed) {
        int& iy = m.iyaw(m.nh);
        if (++iy > nydim) limit_stop("error: iyaw(nh)=", iy, " > nydim=", nydim);
        open_group(m, p);
    } else {
        const int iy = m.iyaw(m.nh);
        int& n = m.ivhy(iy, m.nh);
        if (++n > nsdim) limit_stop("error: ivhy(iyaw(nh),nh)=", n, " > nsdim=", nsdim);
        m.point(n, iy, m.nh) = p;
    }
}

// Reads and groups the records after the header lines; returns how many
// complete records there were.
int read_matrix(Matrix& m) {
    for (int l = 0; l < header_lines; ++l) textio::skip_record_required(input_unit);
    // kept across reads: a null value or a slash leaves the previous number
    std::array<float, 6> rec{};   // label, speed, heel, yaw, rudder, tab
    int count = 0;
    for (;;) {
        textio::In in(input_unit, textio::list_directed);
        for (float& v : rec) in(v);
        const textio::Result r = in.done();
        if (r.status == textio::Status::end) return count;   // an incomplete last record is dropped
        if (!r) throw textio::failure_from(r);
        ++count;
        for (float v : rec)
            if (!std::isfinite(v)) {
                textio::write(textio::stdout_unit, "(a,i5,a)", " error ... data record", count,
                              " holds a value that is not finite");
                textio::error_stop();
            }
        const Point p{rec[1], rec[2], rec[3], rec[4], rec[5]};
        if (count == 1)
            open_group(m, p);
        else
            add_record(m, p);
    }
}

// ------------------------------------------------------------ the routine's text

// Fields of the generated lines: i2 for counts and point numbers, f5.1 for
// heels, f5.2 for speeds and angles. A value too wide for its field gets the
// narrowest field of its kind that holds it, judged on the rounded text, so
// that the routine compiles; every value that fits is written as before.
template <class Put>
int narrowest(int w, Put put) {
    std::string field;
    for (;; ++w) {
        field.clear();
        put(field, w);
        if (field.find('*') == std::string::npos) return w;
    }
}

// The edit descriptors are appended piece by piece: "i" + std::to_string(w)
// draws g++ 12's false -Wrestrict at -O3.
std::string int_edit(std::int32_t v) {
    const int w = narrowest(2, [v](std::string& s, int w) { textio::numbers::put_int(s, v, w); });
    std::string edit = "i";
    edit += std::to_string(w);
    return edit;
}

std::string fixed_edit(float v, int width, int decimals) {
    const int w =
        narrowest(width, [=](std::string& s, int w) { textio::numbers::put_fixed(s, v, w, decimals, 0); });
    std::string edit = "f";
    edit += std::to_string(w);
    edit += '.';
    edit += std::to_string(decimals);
    return edit;
}

std::string heel_edit(float h) { return fixed_edit(h, 5, 1); }

void line(std::string_view text) { textio::write(output_unit, "(a)", text); }

void int_line(std::string_view text, std::int32_t v) {
    textio::write(output_unit, "(a," + int_edit(v) + ")", text, v);
}

const std::string long_rule = "c" + std::string(71, '*');
const std::string short_rule = "c" + std::string(35, '*');

constexpr std::array<std::string_view, 16> head = {
    "      subroutine setmat(",
    "     . nspd,nheel,nyaw,ivu,vu,iyaw,ivhy,heel,vhy,yaw,tab,rud)",
    "c",
    "c     set up test matrix",
    "c",
    "      dimension",
    "     . vu(nspd)",
    "      dimension",
    "     . iyaw(nheel),ivhy(nyaw,nheel)",
    "      dimension",
    "     . heel(nheel),",
    "     . vhy(nspd,nyaw,nheel),",
    "     . yaw(nspd,nyaw,nheel),",
    "     . tab(nspd,nyaw,nheel),",
    "     . rud(nspd,nyaw,nheel)",
    "c",
};
// after the long rule
constexpr std::array<std::string_view, 8> upright = {
    "c",
    "c     upright rudder-off half-models",
    "c",
    "      ivu=0",
    "c",
    "      do n=1,nspd",
    "        vu(n)=0.0",
    "      enddo",
};

void ruled(const std::string& rule) {
    line("c");
    line(rule);
    line("c");
}

// All speeds of the yaw group, then all yaws, tabs and rudder angles.
void yaw_group(const Matrix& m, int iy, int ih) {
    ruled(short_rule);
    int_line("      iy=", iy);
    const int n = m.ivhy(iy, ih);
    int_line("      ivhy(iy,ih)=", n);
    struct Quantity {
        std::string_view name;
        float Point::*value;
    };
    constexpr std::array<Quantity, 4> quantities = {
        {{"      vhy(", &Point::speed}, {"      yaw(", &Point::yaw}, {"      tab(", &Point::tab},
         {"      rud(", &Point::rudder}}};
    for (const Quantity& q : quantities)
        for (int k = 1; k <= n; ++k) {
            const float v = m.point(k, iy, ih).*q.value;
            textio::write(output_unit, "(a," + int_edit(k) + ",a," + fixed_edit(v, 5, 2) + ")", q.name, k,
                          ",iy,ih)=", v);
        }
}

void write_setmat(const Matrix& m) {
    for (std::string_view l : head) line(l);
    line(long_rule);
    for (std::string_view l : upright) line(l);
    for (int ih = 1; ih <= m.nh; ++ih) {
        const float h = m.point(1, 1, ih).heel;
        ruled(long_rule);
        textio::write(output_unit, "(a," + heel_edit(h) + ")", "c     heel=", h);
        line("c");
        int_line("      ih=", ih);
        textio::write(output_unit, "(a," + heel_edit(h) + ")", "      heel(ih)=", h);
        int_line("      iyaw(ih)=", m.iyaw(ih));
        for (int iy = 1; iy <= m.iyaw(ih); ++iy) yaw_group(m, iy, ih);
    }
    ruled(long_rule);
    line("c     zero out remaining heel angle arrays");
    line("c");
    textio::write(output_unit, "(a,i2,a)", "      do ih=", m.nh + 1, ",nheel");
    line("        iyaw(ih)= 0");
    line("      enddo");
    ruled(long_rule);
    line("      return");
    line("c");
    line("      end");
}

void main_routine() {
    Name input_file, output_file;
    textio::write(textio::stdout_unit, "(a)", "enter name of INPUT *.txt matrix file");
    textio::read_answer(input_file);
    textio::write(textio::stdout_unit, "(a)", "enter name of OUTPUT setmat.f *.f test matrix fortran file");
    textio::read_answer(output_file);

    auto m = std::make_unique<Matrix>();
    convert::open_file(input_unit, input_file, textio::Access::existing);
    const int count = read_matrix(*m);
    textio::write(textio::stdout_unit, "(a)");
    textio::write(textio::stdout_unit, "(a,i5,a)", "eof reached after reading ", count, " points");

    // The list stays open until the routine's file is: an open of the same
    // file, under whatever name, is refused before anything is written.
    convert::open_file(output_unit, output_file, textio::Access::existing_or_new);
    textio::close(input_unit);
    write_setmat(*m);
    textio::close(output_unit);
}

}  // namespace

}  // namespace runplan

int main() { return textio::run_program("runplan", runplan::main_routine); }
