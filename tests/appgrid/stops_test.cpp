// appgrid's stops, one row each on the demo's inputs made to fail: every
// one ends with status 1 after its message, the files written before it
// kept; the runs beside them end with status 0. And the output that is the
// file of answers, refused in the words every program uses.

#include "program.hpp"

#include <functional>

namespace appgrid_program_test {
namespace {

// Field c (0 iint, 1 xint .. 7 etat) of record k of a table, as written.
std::string field_of(const std::string& table_text, int k, int c) {
    const std::string line = test_support::split_lines(table_text)[static_cast<std::size_t>(k)];
    return c == 0 ? line.substr(0, 5) : line.substr(static_cast<std::size_t>(5 + 10 * (c - 1)), 10);
}

// The table with the fields of columns from..to of record k set to those of record `like`.
std::string copied(std::string t, int k, int like, int from, int to) {
    const std::string original = t;
    for (int c = from; c <= to; ++c) t = with_field(t, k, c, field_of(original, like, c));
    return t;
}

// The table with column c of records from..to set to a field.
std::string each(std::string t, int from, int to, int c, const std::string& field) {
    for (int k = from; k <= to; ++k) t = with_field(t, k, c, field);
    return t;
}

struct Files {
    std::string keelcut = example("keelcut.out"), foilcut = example("foilcut.out");
    std::string keel = example("keel.net"), bulb = example("bulb.net"), wing = example("wing.net");
};

struct Row {
    std::string message;   // the last line on standard output; "" for a run to its end
    std::function<void(Answers&, Files&)> change;
    bool keel_written, wing_written, bulb_written;
};

void write(const Box& box, const Files& f) {
    for (const auto& [name, text] : {std::pair<const char*, const std::string&>{"keelcut.out", f.keelcut},
                                     {"foilcut.out", f.foilcut}, {"keel.net", f.keel}, {"bulb.net", f.bulb},
                                     {"wing.net", f.wing}})
        if (!text.empty()) box.write(name, text);
}

TEST(AppgridStops, EveryStopEndsWithStatusOneAfterItsMessage) {
    const std::string past_80(81, 'n');
    const std::string shown_80 = past_80.substr(0, 80) + "...";
    const std::vector<Row> rows = {
        // the answers and the input networks: nothing written
        {" error ... must have ( bulb and ( keel and/or wing ) )", [](Answers& a, Files&) { a.bulb = "none"; },
         false, false, false},
        {" error ... must have ( bulb and ( keel and/or wing ) )",
         [](Answers& a, Files&) { a.keel = "none", a.wing = "none"; }, false, false, false},
        {" error ... file \"missing.net\" does not exist", [](Answers& a, Files&) { a.wing = "missing.net"; }, false,
         false, false},
        {" error ... file \"" + shown_80 + "\" has a name longer than 80 characters",
         [&](Answers& a, Files&) { a.bulb = past_80; }, false, false, false},
        {" error ... file \"" + shown_80 + "\" has a name longer than 80 characters",
         [&](Answers& a, Files&) { a.wing_out = past_80; }, false, false, false},
        {" error: input array exceeds array parameters", [](Answers&, Files& f) { f.bulb = header_only(18, 9); },
         false, false, false},
        {" error: input array exceeds array parameters", [](Answers&, Files& f) { f.keel = header_only(17, 10); },
         false, false, false},
        {" error: input array exceeds array parameters", [](Answers&, Files& f) { f.wing = header_only(34, 9); },
         false, false, false},
        {" error ... bulb array size below minimum(s)", [](Answers&, Files& f) { f.bulb = header_only(17, 1); },
         false, false, false},
        {" error ... keel array size below minimum(s)", [](Answers&, Files& f) { f.keel = header_only(2, 9); },
         false, false, false},
        {" error ... wing array size below minimum(s)", [](Answers&, Files& f) { f.wing = header_only(17, 0); },
         false, false, false},

        // the trimming
        {" error ... file \"keelcut.out\" does not exist", [](Answers&, Files& f) { f.keelcut.clear(); }, false,
         false, false},
        {" error ... file \"foilcut.out\" does not exist", [](Answers&, Files& f) { f.foilcut.clear(); }, false,
         false, false},
        {" error ... keel le or te does not intersect bulb",
         [](Answers&, Files& f) { f.keelcut = with_field(f.keelcut, 9, 0, "0"); }, false, false, false},
        {" error ... wing upper or lower te does not intersect bulb",
         [](Answers&, Files& f) { f.foilcut = with_field(f.foilcut, 1, 0, "0"); }, true, false, false},
        {" error ... keel intersects bulb at fewer than 3 stations",
         [](Answers&, Files& f) { f.keelcut = each(f.keelcut, 2, 8, 0, "0"); }, false, false, false},
        {" error ... wing intersects bulb at fewer than 3 stations",
         [](Answers&, Files& f) { f.foilcut = each(f.foilcut, 2, 16, 0, "0"); }, true, false, false},
        {" error ... keel cut has coincident points",
         [](Answers&, Files& f) { f.keelcut = copied(f.keelcut, 5, 4, 1, 3); }, false, false, false},
        {" error ... wing cut has coincident points",
         [](Answers&, Files& f) { f.foilcut = copied(f.foilcut, 5, 4, 1, 3); }, true, false, false},
        // a wing cut along x, which never turns: on the flat bulb of the trimming's tests
        {" error ... wing cut row has no leading edge",
         [](Answers&, Files& f) {
             f.bulb = flat_bulb(), f.keel = keel_net(), f.keelcut = table(keel_stations(3.0, 0.1));
             f.wing = network(5, 9, "wing", [](int i, int j) { return P3{0.25 * i, 0.1 * (i - 3), 0.5 + 0.125 * j}; });
             f.foilcut = table(keel_stations(2.6, 0.0));
         },
         true, true, false},

        // the new bulb's sizes and edges: the trimmed networks written
        {" error: output array exceeds array parameters", [](Answers& a, Files&) { a.sizes = "30 11"; }, true, true,
         false},
        {" error ... output array size below minimum(s)", [](Answers& a, Files&) { a.sizes = "30 4"; }, true, true,
         false},
        {" error ... keel edge columns must satisfy 1 <= ikle < ikte <= imo",
         [](Answers& a, Files&) { a.keel_edges = "18 10"; }, true, true, false},
        {" error ... wing edge columns must satisfy 1 <= iwle < iwte <= imo",
         [](Answers& a, Files&) { a.wing_edges = "0 26"; }, true, true, false},

        // the layout of the new bulb's rows
        {" error ... keel le not aft of bulb fore end",
         [](Answers&, Files& f) { f.keelcut = with_field(f.keelcut, 1, 6, 1.0); }, true, true, false},
        {" error ... keel te not forward of bulb aft end",
         [](Answers&, Files& f) { f.keelcut = with_field(f.keelcut, 9, 6, 17.0); }, true, true, false},
        {" error ... keel te not aft of keel le on bulb",
         [](Answers&, Files& f) { f.keelcut = with_field(with_field(f.keelcut, 1, 6, 10.6), 9, 6, 5.8); }, true,
         true, false},
        {" error ... wing le not aft of bulb fore end",
         [](Answers&, Files& f) { f.foilcut = each(f.foilcut, 1, 17, 6, "   1.00000"); }, true, true, false},
        {" error ... wing te not forward of bulb aft end",
         [](Answers&, Files& f) { f.foilcut = with_field(with_field(f.foilcut, 1, 6, 17.0), 17, 6, 17.0); }, true,
         true, false},
        {" error ... wing te not aft of wing le on bulb",
         [](Answers&, Files& f) { f.foilcut = with_field(with_field(f.foilcut, 1, 6, 8.0), 17, 6, 8.0); }, true,
         true, false},

        // runs to the end
        {"", [](Answers&, Files&) {}, true, true, true},
        {"", [](Answers& a, Files& f) { a.wing = "none", f.foilcut.clear(); }, true, false, true},
        {"", [](Answers& a, Files& f) { a.keel = "none", f.keelcut.clear(); }, false, true, true},
        // a keel edge at column 1 needs no fore segment
        {"", [](Answers& a, Files& f) { a.keel_edges = "1 18", f.keelcut = with_field(f.keelcut, 1, 6, 1.0); }, true,
         true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.message.empty() ? "a run to its end" : r.message);
        Box box;
        Answers a;
        Files f;
        r.change(a, f);
        write(box, f);
        const Outcome o = box.run(a.text());
        EXPECT_EQ(o.status, r.message.empty() ? 0 : 1) << o.err;
        EXPECT_EQ(o.err, "");
        const std::vector<std::string> l = test_support::split_lines(o.out);
        ASSERT_FALSE(l.empty());
        if (!r.message.empty()) {
            EXPECT_EQ(l.back(), r.message);
        }
        EXPECT_EQ(o.out.find(" error"), r.message.empty() ? std::string::npos : o.out.size() - r.message.size() - 1);
        EXPECT_EQ(box.has("keel-out.net"), r.keel_written);
        EXPECT_EQ(box.has("wing-out.net"), r.wing_written);
        EXPECT_EQ(box.has("bulb-out.net"), r.bulb_written);
    }
}

// An output named as the file of answers, in any of its names: refused as
// open already before a byte of it is written, and the answers kept.
TEST(AppgridStops, AnOutputThatIsTheAnswersIsRefusedAsOpenAlready) {
    struct Case {
        const char* name;
        std::string Answers::*output;
        std::size_t lines_before;   // on standard output: the questions and the tables; 0: the upper half too
    };
    const Case cases[] = {
        {"/dev/stdin", &Answers::keel_out, 12 + 9},
        {"../stdin", &Answers::wing_out, 12 + 9 + 17},
        {"/proc/self/fd/0", &Answers::bulb_out, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Box box;
        box.copy_examples();
        Answers a;
        a.*c.output = c.name;
        const std::string answers = a.text();
        const Outcome o = box.run(answers);
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.err, "appgrid: cannot open a file that is open already, file '" + std::string(c.name) +
                             "' (unit 2, record 0)\n");
        if (c.lines_before > 0) {
            EXPECT_EQ(test_support::split_lines(o.out).size(), c.lines_before);
        } else {
            // all the upper half's lines: the lower half's begin with the middle row
            Box whole;
            whole.copy_examples();
            const std::string all = whole.run(Answers().text()).out;
            ASSERT_LT(o.out.size(), all.size());
            EXPECT_EQ(all.substr(0, o.out.size()), o.out);
            EXPECT_EQ(all.substr(o.out.size(), 15), " final bulb mhb");
        }
        EXPECT_EQ(test_support::read_file(box.root() / "stdin"), answers);
    }
}

}  // namespace
}  // namespace appgrid_program_test
