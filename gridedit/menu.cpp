#include "commands.hpp"
#include "dialogue.hpp"

#include <memory>

namespace gridedit {

void Editor::set_working_range() {
    if (iblock == 0) {
        ib1 = 1;
        ib2 = net.imax;
        jb1 = 1;
        jb2 = net.jmax;
    } else {
        ib1 = i1;
        ib2 = i2;
        jb1 = j1;
        jb2 = j2;
    }
    nsub = ib2 - ib1 + 1;
    msub = jb2 - jb1 + 1;
}

namespace {

using textio::stdout_unit;

struct Task {
    std::string_view word;
    void (*run)(Editor&);
};

// In the order the answer is compared with them.
constexpr Task tasks[] = {
    {"ijmax", ijmax},
    {"setblock", setblock},
    {"input", input},
    {"transform", transform},
    {"reverse", reverse},
    {"transpose", transpose},
    {"respline", respline},
    {"truncate", truncate_command},
    {"splitbulb", splitbulb_command},
    {"transom", transom_command},
    {"scale", scale},
    {"translate", translate},
    {"rotate", rotate},
    {"extend", extend_command},
    {"dextend", dextend_command},
    {"tranatx", tranatx_command},
    {"tranxlin", tranxlin_command},
    {"settitle", settitle},
    {"klue", klue},
    {"output", output},
    {"quit", quit},
};

void banner() {
    textio::write_list(stdout_unit);
    textio::write(stdout_unit, "(1x,a)", "GRIDEDIT Network Geometry Manipulation Software");
    textio::write_list(stdout_unit);
    textio::write(stdout_unit, "(a)", " *******************");
    textio::write(stdout_unit, "(a)", " ***   network   ***");
    textio::write(stdout_unit, "(a)", " *******************");
}

void show_state(const Editor& e) {
    textio::write(stdout_unit, "(2a)", " network title is ", e.net.title);
    textio::write(stdout_unit, "(a,i5,a,i5)", " network imax x jmax is ", e.net.imax, " x ", e.net.jmax);
    if (e.net.klue != 0) textio::write(stdout_unit, "(a,i5)", " network klue is ", e.net.klue);
    if (e.iblock != 0) {
        textio::write(stdout_unit, "(a,2i5)", "    sublock is set to i1,i2 = ", e.i1, e.i2);
        textio::write(stdout_unit, "(a,2i5)", "                      j1,j2 = ", e.j1, e.j2);
    }
    ask({" enter task",
         "    input     transform reverse   transpose respline  ",
         "    scale     translate output    quit      ijmax     ",
         "    truncate  splitbulb setblock  settitle  transom   ",
         "    rotate    extend    tranatx   dextend   klue      ",
         "    tranxlin  "});
}

}  // namespace

void main_routine() {
    auto e = std::make_unique<Editor>();   // the one allocation of the run
    banner();
    std::array<char, word_len> task;
    for (;;) {
        show_state(*e);
        read_word(task);
        e->set_working_range();
        const Task* chosen = nullptr;
        for (const Task& t : tasks)
            if (is_word(task, t.word)) {
                chosen = &t;
                break;
            }
        if (chosen)
            chosen->run(*e);
        else
            textio::fail_and_go_on();   // no task word, a blank line among them
    }
}

}  // namespace gridedit
