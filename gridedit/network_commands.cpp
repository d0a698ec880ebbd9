#include "commands.hpp"
#include "dialogue.hpp"

#include "lib/netfile.hpp"

namespace gridedit {

namespace {

using textio::stdout_unit;

constexpr std::int32_t backup = 999;
// klue is written in five columns: anything wider would make the file unreadable
constexpr std::int32_t klue_min = -9999;
constexpr std::int32_t klue_max = 99999;

}  // namespace

void ijmax(Editor& e) {
    Answers& a = e.ans;
    for (;;) {
        ask({" enter new imax and jmax (999 to backup)"});
        if (!read_numbers(a.inew, a.jnew)) continue;
        if (a.inew == backup || a.jnew == backup) return;
        if (a.inew <= 0 || a.jnew <= 0) continue;
        if (a.inew > idim || a.jnew > jdim) {
            textio::write(stdout_unit, "(a,2i5)", " error ... inew,jnew > idim,jdim = ", idim, jdim);
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
        // i question
        ask2(" enter new i1,i2", " (0,0 to deactivate block or 999 to backup)");
        if (!read_numbers(n.a, n.b)) continue;
        if (n.a == backup || n.b == backup) return;
        const bool i_off = n.a == 0 && n.b == 0;
        if (!i_off) {
            if (n.a <= 0 || n.b < n.a) continue;
            if (n.b > idim) {
                textio::write(stdout_unit, "(a,i5)", " error ... i2new > idim = ", idim);
                continue;
            }
        }
        // j question
        bool back = false;
        for (;;) {
            ask2(" enter new j1,j2", " (0,0 to deactivate block or 999 to backup)");
            if (!read_numbers(n.c, n.d)) continue;
            if (n.c == backup || n.d == backup) {
                back = true;
                break;
            }
            const bool j_off = n.c == 0 && n.d == 0;
            if (!j_off) {
                if (n.c <= 0 || n.d < n.c) continue;
                if (n.d > jdim) {
                    textio::write(stdout_unit, "(a,i5)", " error ... j2new > jdim = ", jdim);
                    continue;
                }
            }
            // a subblock with a zero index pair would address points outside the arrays
            if (i_off != j_off) continue;
            break;
        }
        if (back) continue;
        e.i1 = n.a;
        e.i2 = n.b;
        e.j1 = n.c;
        e.j2 = n.d;
        e.iblock = (e.i1 == 0 && e.i2 == 0 && e.j1 == 0 && e.j2 == 0) ? 0 : 1;
        ok_line();
        return;
    }
}

void input(Editor& e) {
    std::array<char, name_len> name;
    for (;;) {
        ask({" enter name of network file (or backup)"});
        read_word(name);
        if (is_word(name, "backup")) return;
        // read into a copy: a failed read leaves the network as it was
        Network& s = e.scratch;
        s = e.net;
        int ierr = 0;
        geom::readnet(1, std::string_view(name.data(), name.size()), s.title, ierr, e.iblock, s.x, s.y, s.z,
                      idim, jdim, s.imax, s.jmax, e.i1, e.i2, e.j1, e.j2, s.klue);
        if (ierr != 0) {
            textio::write(stdout_unit, "(a)", " error reading file");
            continue;
        }
        e.net = s;
        ok_line();
        return;
    }
}

void output(Editor& e) {
    std::array<char, name_len> name;
    for (;;) {
        ask({" enter name of network file (or backup)"});
        read_word(name);
        if (is_word(name, "backup")) return;
        int ierr = 0;
        const Network& n = e.net;
        geom::writnet(2, std::string_view(name.data(), name.size()),
                      std::string_view(n.title.data(), n.title.size()), ierr, e.iblock, n.x, n.y, n.z, idim,
                      jdim, n.imax, n.jmax, e.i1, e.i2, e.j1, e.j2, n.klue);
        if (ierr != 0) {
            textio::write(stdout_unit, "(a)", " error writing file");
            continue;
        }
        ok_line();
        return;
    }
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
        if (!read_numbers(a.klue)) continue;
        if (a.klue == backup) return;
        if (a.klue < klue_min || a.klue > klue_max) continue;
        e.net.klue = a.klue;
        ok_line();
        return;
    }
}

void quit(Editor&) {
    std::array<char, word_len> answer;
    ask({" are you sure ??? (y/n)"});
    read_word(answer);
    if (is_word(answer, "y") || is_word(answer, "Y")) textio::stop(0);
}

}  // namespace gridedit
