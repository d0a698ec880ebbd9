// A file name typed past its 80-column field, in every program that reads
// one into such a field: refused as a name that cannot be opened, with
// nothing made or changed, rather than opened as its first 80 characters.
// A name of 80 characters, blanks after it or not, is opened whole; blanks
// before a name count toward the 80 columns.

#include "appgrid/program.hpp"
#include "fixtures.hpp"
#include "gridedit/transcript.hpp"
#include "intersect/program.hpp"
#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

namespace convert_test {
namespace {

namespace ag = appgrid_program_test;
namespace ge = gridedit_test;
namespace ip = intersect_program_test;

using Files = std::map<std::string, std::string>;

// Every file of the folder and its content.
Files folder(const test_support::Sandbox& box) {
    Files files;
    for (const auto& e : std::filesystem::directory_iterator(box.work()))
        files[e.path().filename()] = box.read(e.path().filename()).value_or("");
    return files;
}

// In a case, '@' stands for the answer typed, '#' for its first 80 columns
// without the blanks around them (the name a program that cuts the answer
// opens) and '$' for those columns without the blanks after them.
std::string filled(std::string s, const std::string& typed, const std::string& first) {
    const std::string columns = typed.substr(0, std::min<std::size_t>(80, typed.find_last_not_of(' ') + 1));
    for (std::size_t at; (at = s.find_first_of("@#$")) != std::string::npos;) {
        const std::string& by = s[at] == '@' ? typed : s[at] == '#' ? first : columns;
        s.replace(at, 1, by);
    }
    return s;
}

Files filled(const Files& files, const std::string& typed, const std::string& first) {
    Files out;
    for (const auto& [name, text] : files) out[filled(name, typed, first)] = text;
    return out;
}

struct Ran {
    Outcome outcome;
    Files after;
};

Ran run(const std::string& program, const Files& before, const std::string& answers) {
    test_support::Sandbox box(program, "long-name");
    for (const auto& [name, text] : before) box.write(name, text);
    const Outcome o = box.run(answers);
    return {o, folder(box)};
}

// Without the blanks around it.
std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A name of n letters.
std::string letters(std::size_t n) {
    std::string s;
    while (s.size() < n) s += "abcdefghijklmnopqrstuvwxyz";
    return s.substr(0, n);
}

const std::string kNetwork = header(1, 1, "p") + " 1 2 3\n";
const std::string kShort = "short.net";   // the name of the run a long name must match
const std::string kTooLong = "cannot open (name longer than the 80 columns of its field), file '#...'";

TEST(LongName, PastTheFieldIsRefusedAndEightyColumnsOpenTheWholeName) {
    const std::string gridplot_dialogue = convert_test::gridplot_dialogue();
    const std::string meshdump_dialogue = convert_test::meshdump_dialogue();

    ge::Dialogue edit_in;
    edit_in.say("input", ge::ask(ge::kNameQ)).say("@", ge::line(ge::kReadErr) + ge::ask(ge::kNameQ)).say("backup");
    edit_in.again().quit();
    ge::Dialogue edit_out;
    ge::load(edit_out, "in.net", "p", 1, 1);
    edit_out.say("output", ge::ask(ge::kNameQ)).say("@", ge::line(ge::kWriteErr) + ge::ask(ge::kNameQ));
    edit_out.say("backup").again().quit();

    // The trimming's fixture, wing off: its run stops at the output check
    // (31 points a row, status 1) just after the keel is written; at 30 it
    // goes on to the bulb, whose output opened only then would leave the
    // keel's behind.
    const Files appgrid_files = {{"bulb.net", ag::flat_bulb()}, {"keelcut.out", ag::table(ag::keel_stations(3.0, 0.1))}};
    ag::Answers appgrid_in, appgrid_out, appgrid_bulb_out;
    for (ag::Answers* a : {&appgrid_in, &appgrid_out, &appgrid_bulb_out}) a->wing = "none", a->sizes = "31 9";
    appgrid_in.keel = "@";
    appgrid_out.keel_out = "@";
    appgrid_bulb_out.bulb_out = "@";   // opened after the keel's is written
    appgrid_bulb_out.sizes = "30 9";   // a run that gets to the bulb
    // blanks before the name shown as typed
    const std::string appgrid_refused = " error ... file \"$...\" has a name longer than 80 characters\n";
    const std::string appgrid_questions = ag::questions(true, true, false);

    struct Case {
        const char* what;
        std::string program;
        Files before;
        std::string answers;
        int fitted_status;   // a name that fits, and the run of the short name
        // a name past the field
        int status;
        std::string out, err;
    };
    const Case cases[] = {
        {"gridplot, input", GRIDPLOT_EXE, {{"#", kNetwork}}, "@\nout.plt\ntitle\n", 0, 1, gridplot_dialogue,
         "gridplot: " + kTooLong + " (unit 1, record 0)\n"},
        {"gridplot, output", GRIDPLOT_EXE, {{"in.net", kNetwork}}, "in.net\n@\ntitle\n", 0, 1, gridplot_dialogue,
         "gridplot: " + kTooLong + " (unit 2, record 0)\n"},
        {"meshdump, input", MESHDUMP_EXE, {{"#", kNetwork}}, "@\nout.grd\n", 0, 1, meshdump_dialogue,
         "meshdump: " + kTooLong + " (unit 1, record 0)\n"},
        {"meshdump, output", MESHDUMP_EXE, {{"in.net", kNetwork}}, "in.net\n@\n", 0, 1, meshdump_dialogue,
         "meshdump: " + kTooLong + " (unit 2, record 0)\n"},
        {"foilcut, source", ip::kFoilcut, {{"#", kNetwork}, {"tgt.net", kNetwork}},
         ip::answers("@", "+m", "+n", "tgt.net", "+m", "+n"), 0, 1, ip::dialogue(),
         "foilcut: " + kTooLong + " (unit 1, record 0)\n"},
        {"foilcut, target", ip::kFoilcut, {{"src.net", kNetwork}, {"#", kNetwork}},
         ip::answers("src.net", "+m", "+n", "@", "+m", "+n"), 0, 1, ip::dialogue(),
         "foilcut: " + kTooLong + " (unit 1, record 0)\n"},
        {"keelcut, source", ip::kKeelcut, {{"#", kNetwork}, {"tgt.net", kNetwork}},
         ip::answers("@", "+m", "+n", "tgt.net", "+m", "+n"), 0, 1, "", "keelcut: " + kTooLong + " (unit 1, record 0)\n"},
        {"keelcut, target", ip::kKeelcut, {{"src.net", kNetwork}, {"#", kNetwork}},
         ip::answers("src.net", "+m", "+n", "@", "+m", "+n"), 0, 1, "", "keelcut: " + kTooLong + " (unit 1, record 0)\n"},
        // asked again, and "backup" back to the task question; a name that
        // fits is not asked again, so that "backup" is an unknown task word
        {"gridedit, input", GRIDEDIT_EXE, {{"#", kNetwork}}, edit_in.answers(), 1, 1, edit_in.transcript(),
         "gridedit: " + kTooLong + " (answers line 2)\n"},
        {"gridedit, output", GRIDEDIT_EXE, {{"in.net", kNetwork}}, edit_out.answers(), 1, 1, edit_out.transcript(),
         "gridedit: " + kTooLong + " (answers line 4)\n"},
        {"appgrid, input", APPGRID_EXE, [&] {
             Files f = appgrid_files;
             f["#"] = ag::keel_net();
             return f;
         }(),
         appgrid_in.text(), 1, 1, appgrid_questions + appgrid_refused, ""},
        // refused with the inputs, before the trimming writes anything
        {"appgrid, keel output", APPGRID_EXE, [&] {
             Files f = appgrid_files;
             f["keel.net"] = ag::keel_net();
             return f;
         }(),
         appgrid_out.text(), 1, 1, appgrid_questions + appgrid_refused, ""},
        {"appgrid, bulb output", APPGRID_EXE, [&] {
             Files f = appgrid_files;
             f["keel.net"] = ag::keel_net();
             return f;
         }(),
         appgrid_bulb_out.text(), 0, 1, appgrid_questions + appgrid_refused, ""},
    };
    struct Length {
        std::size_t letters;
        std::string after;    // typed after the letters
        std::string before;   // and before them
    };
    for (const Length& l : {Length{80, "", ""}, Length{80, "     ", ""}, Length{81, "", ""}, Length{200, "", ""},
                            Length{79, "", "  "}}) {
        const std::string typed = l.before + letters(l.letters) + l.after;
        const std::string first = trimmed(typed.substr(0, 80));
        const bool fits = l.before.size() + l.letters <= 80;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + (l.before.empty() ? "" : "blanks and ") +
                         std::to_string(l.letters) + " letters" + (l.after.empty() ? "" : " and blanks"));
            const Files before = filled(c.before, typed, first);
            const Ran got = run(c.program, before, filled(c.answers, typed, first));
            if (fits) {
                // the run of a short name, under the long one
                const Ran want = run(c.program, filled(c.before, kShort, kShort), filled(c.answers, kShort, kShort));
                EXPECT_EQ(want.outcome.status, c.fitted_status) << want.outcome.err;
                EXPECT_EQ(got.outcome.status, c.fitted_status);
                EXPECT_EQ(got.outcome.out, want.outcome.out);
                EXPECT_EQ(got.outcome.err, "");
                ASSERT_EQ(want.after.count(kShort), 1u);
                Files renamed = want.after;
                renamed.erase(kShort);
                renamed[first] = want.after.at(kShort);
                EXPECT_EQ(got.after, renamed);
            } else {
                EXPECT_EQ(got.outcome.status, c.status);
                EXPECT_EQ(got.outcome.out, filled(c.out, typed, first));
                EXPECT_EQ(got.outcome.err, filled(c.err, typed, first));
                EXPECT_EQ(got.after, before);
            }
        }
    }
}

}  // namespace
}  // namespace convert_test
