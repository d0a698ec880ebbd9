#include "commands.hpp"
#include "dialogue.hpp"

#include "lib/netfile.hpp"

#include <cerrno>
#include <string>

namespace gridedit {

namespace {

using textio::stdout_unit;

constexpr std::int32_t backup = 999;
// klue is written in five columns: anything wider would make the file unreadable
constexpr std::int32_t klue_min = -9999;
constexpr std::int32_t klue_max = 99999;

// One index pair of setblock, asked until it is 0,0 or lo..hi within 1..dim;
// false on backup.
bool ask_bounds(std::string_view question, std::string_view too_big, std::int32_t dim, std::int32_t& lo,
                std::int32_t& hi) {
    for (;;) {
        ask2(question, " (0,0 to deactivate block or 999 to backup)");
        if (!textio::read_answer_numbers(lo, hi)) continue;
        if (lo == backup || hi == backup) return false;
        if (lo == 0 && hi == 0) return true;
        if (lo > 0 && hi >= lo) {
            if (hi <= dim) return true;
            textio::write(stdout_unit, "(a,i5)", too_big, dim);
        }
        textio::fail_and_go_on();
    }
}

// Why a network file could not be read or written, for the line on
// standard error.
std::string refusal(const geom::NetStatus& status) {
    switch (status.kind) {
        case geom::NetStatus::Kind::not_a_network: return "cannot read it as a network file";
        case geom::NetStatus::Kind::outside_arrays: return "cannot write points outside the network's arrays";
        case geom::NetStatus::Kind::open_refused:
        case geom::NetStatus::Kind::done: break;
    }
    return textio::open_refusal(status.errno_value);
}

// The file name question of input and output, asked again after the error
// line while use(name, status) fails, or at once for a name cut at its
// field; "backup" leaves without the success line. Each name refused is
// named on standard error with the reason.
template <class F>
void with_file_name(std::string_view error, F use) {
    textio::NameAnswer<name_len> name;
    for (;;) {
        ask({" enter name of network file (or backup)"});
        textio::read_answer(name);
        // output may read its subblock answer before the file is opened
        const long line = textio::Runtime::instance().unit(textio::stdin_unit).record();
        if (!name.cut && is_word(name.field, "backup")) return;
        std::string reason;
        if (name.cut) {
            // never opened: the field names another file
            reason = textio::open_refusal(ENAMETOOLONG, name);
        } else {
            geom::NetStatus status;
            use(name.text(), status);
            if (status.done()) break;
            reason = refusal(status);
        }
        textio::write(stdout_unit, "(a)", error);
        textio::refused_name(textio::shown_name(name), reason, line);
    }
    ok_line();
}

}  // namespace

void ijmax(Editor& e) {
    Answers& a = e.ans;
    for (;;) {
        ask({" enter new imax and jmax (999 to backup)"});
        if (!textio::read_answer_numbers(a.inew, a.jnew)) continue;
        if (a.inew == backup || a.jnew == backup) return;
        if (a.inew <= 0 || a.jnew <= 0) {
            textio::fail_and_go_on();
            continue;
        }
        if (a.inew > idim || a.jnew > jdim) {
            textio::write(stdout_unit, "(a,2i5)", " error ... inew,jnew > idim,jdim = ", idim, jdim);
            textio::fail_and_go_on();
            continue;
        }
        e.net.imax = a.inew;
        e.net.jmax = a.jnew;
        ok_line();
        return;
    }
}

void setblock(Editor& e) {
    Answers& n = e.ans;
    textio::write(stdout_unit, "(a)", " set subblock indices");
    for (;;) {
        if (!ask_bounds(" enter new i1,i2", " error ... i2new > idim = ", idim, n.a, n.b)) return;
        const bool i_off = n.a == 0 && n.b == 0;
        bool j_read;
        // a subblock with a zero index pair would address points outside the arrays
        for (;;) {
            j_read = ask_bounds(" enter new j1,j2", " error ... j2new > jdim = ", jdim, n.c, n.d);
            if (!j_read || i_off == (n.c == 0 && n.d == 0)) break;
            textio::fail_and_go_on();
        }
        if (j_read) break;   // else backup: the i question again
    }
    e.i1 = n.a;
    e.i2 = n.b;
    e.j1 = n.c;
    e.j2 = n.d;
    e.iblock = (e.i1 == 0 && e.i2 == 0 && e.j1 == 0 && e.j2 == 0) ? 0 : 1;
    ok_line();
}

void input(Editor& e) {
    with_file_name(" error reading file", [&](std::string_view name, geom::NetStatus& status) {
        // read into a copy: a failed read leaves the network as it was
        Network& s = e.scratch;
        s = e.net;
        geom::readnet(1, name, s.title, status, e.iblock, s.x, s.y, s.z, idim, jdim, s.imax, s.jmax, e.i1, e.i2,
                      e.j1, e.j2, s.klue);
        if (status.done()) e.net = s;
    });
}

void output(Editor& e) {
    with_file_name(" error writing file", [&](std::string_view name, geom::NetStatus& status) {
        const Network& n = e.net;
        geom::writnet(2, name, std::string_view(n.title.data(), n.title.size()), status, e.iblock, n.x, n.y, n.z,
                      idim, jdim, n.imax, n.jmax, e.i1, e.i2, e.j1, e.j2, n.klue);
    });
}

void settitle(Editor& e) {
    std::array<char, title_len> field;
    ask({" enter new title for network file (or backup)"});
    read_word(field);
    if (is_word(field, "backup")) return;
    e.net.title = field;
    ok_line();
}

void klue(Editor& e) {
    Answers& a = e.ans;
    for (;;) {
        ask({" enter network klue value (999 to backup)"});
        if (!textio::read_answer_numbers(a.klue)) continue;
        if (a.klue == backup) return;
        if (a.klue < klue_min || a.klue > klue_max) {
            textio::fail_and_go_on();
            continue;
        }
        e.net.klue = a.klue;
        ok_line();
        return;
    }
}

void quit(Editor&) {
    std::array<char, word_len> answer;
    ask({" are you sure ??? (y/n)"});
    read_word(answer);
    if (is_word(answer, "y") || is_word(answer, "Y")) textio::quit();
}

}  // namespace gridedit
