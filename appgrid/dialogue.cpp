// The answers on standard input: file names and the parameter deck, each
// answer after one label line.
#include "appgrid/driver.hpp"

#include "textio/textio.hpp"

#include <string>

namespace appgrid {

namespace {

using textio::stdin_unit;
using textio::stdout_unit;

// The question, " ? ", the label line, then the answer as a whole line.
void ask_name(std::string_view question, Name& name) {
    textio::write(stdout_unit, "(a,/,a)", question, " ? ");
    textio::skip_record_required(stdin_unit);
    textio::read_answer(name);
}

void label_line() { textio::skip_record_required(stdin_unit); }

template <std::size_t N, class T>
void read_values(std::array<T, N>& values) {
    label_line();
    textio::In in(stdin_unit, textio::list_directed);
    for (T& v : values) in(v);
    in.required();
}

void read_deck(const Answers& ans, Deck& d) {
    label_line();
    textio::read_list_required(stdin_unit, d.imo, d.jmo);
    label_line();
    textio::read_list_required(stdin_unit, d.niter1, d.omega1);
    label_line();
    textio::read_list_required(stdin_unit, d.niter2, d.omega2, d.ra, d.rb);
    read_values(d.switches);
    read_values(d.decay);
    read_values(d.exponents);
    if (ans.on[keel]) {
        label_line();
        textio::read_list_required(stdin_unit, d.ikle, d.ikte);
    }
    if (ans.on[wing]) {
        label_line();
        textio::read_list_required(stdin_unit, d.iwle, d.iwte);
    }
}

}  // namespace

void read_answers(Answers& ans, Deck& deck) {
    for (int p : {keel, bulb, wing}) {
        ask_name("enter " + std::string(kPartWords[p]) + " network input filename (or \"none\")", ans.input[p]);
        // only the exact word switches a part off: trailing blanks do not count
        ans.on[p] = ans.input[p].cut || trimmed(ans.input[p].field) != "none";
    }
    for (int p : {keel, bulb, wing})
        if (ans.on[p]) ask_name("enter " + std::string(kPartWords[p]) + " network output filename", ans.output[p]);
    if (ans.on[bulb]) read_deck(ans, deck);
    if (!ans.on[bulb] || !(ans.on[keel] || ans.on[wing]))
        stop_with(" error ... must have ( bulb and ( keel and/or wing ) )");
}

}  // namespace appgrid
