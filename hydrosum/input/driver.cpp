#include "hydrosum/input/steps.hpp"

#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"
#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <cmath>
#include <cstdlib>

namespace hydrosum {

namespace {

using textio::stdin_unit;
using textio::stdout_unit;

constexpr float tiny = 1.0e-6f;   // the deck's switches and fix-ups are compared with this

// Every data line of the deck follows a label line, read and passed over.
void label_line() { textio::skip_record_required(stdin_unit); }

}  // namespace

void read_deck(Store& st) {
    label_line();
    std::span<char> title = st.chr(1, 80);
    textio::read_required(stdin_unit, "(a)", title);
    st.ci(8) = geom::lenchr(std::string_view(title.data(), title.size()));
    label_line();
    textio::read_list_required(stdin_unit, st.c(1), st.c(2), st.c(3), st.c(4), st.c(5));
    // the auxiliary, hydrostatic, viscous and inviscid groups (c18 is set later)
    for (int first : {6, 10, 14, 19}) {
        label_line();
        textio::read_list_required(stdin_unit, st.c(first), st.c(first + 1), st.c(first + 2), st.c(first + 3));
    }
    label_line();
    textio::read_list_required(stdin_unit, st.c(23), st.c(24), st.c(25), st.c(26));
    label_line();
    textio::read_list_required(stdin_unit, st.ci(3), st.ci(4), st.ci(5), st.ci(6), st.ci(7));
    if (std::abs(st.ci(4)) == 2) {
        label_line();
        textio::read_list_required(stdin_unit, st.c(27), st.c(28), st.c(29));
    } else {
        st.c(27) = 1.0f;
        st.c(28) = 0.0f;
        st.c(29) = 1.0f;
    }
    if (st.c(27) < tiny) st.c(27) = 1.0f;
    if (st.c(29) < tiny) st.c(29) = 1.0f;
}

void run_road(Store& st) {
    st.ci(2) = nheels;
    st.ci(1) = nruns;
    stfmin(st);
    require_a_file(st);
    if (st.ci(6) != 0) atrest(st);
    if (st.ci(3) != 0) addstatic(st);
    correc(st);
    if (st.ci(4) != 0) addbl(st);
    tabout(st);
    if (unit_area(st.c(23)) && std::fabs(st.c(26)) < tiny) {
        tabplt(st);
        tabvpp(st);
    }
    teczon(st);
    require_a_table(st);
}

void main_routine() {
    const StorePtr st = zeroed_store();   // the whole run's store, allocated once
    textio::write_list(stdout_unit);
    textio::write(stdout_unit, "(1x,a)", "HYDROSUM - MAREVO Post-Processing Software");
    textio::write_list(stdout_unit);
    read_deck(*st);
    run_road(*st);
}

}  // namespace hydrosum
