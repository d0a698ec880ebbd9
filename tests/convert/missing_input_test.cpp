// A mistyped input name in the five programs that read a file named in
// their answers: refused at the open, after the questions, with nothing
// created and no output opened. The line on standard error holds the whole
// name, whatever bytes it holds.

#include "fixtures.hpp"
#include "intersect/program.hpp"
#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace convert_test {
namespace {

namespace ip = intersect_program_test;

// The names in the folder, in order.
std::vector<std::string> listing(const test_support::Sandbox& box) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(box.work())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(MissingInput, IsRefusedNamingTheFileAndNothingIsCreatedOrWritten) {
    const std::string network = header(2, 2, "plate") + "0 0 0\n1 0 0\n0 1 0\n1 1 0\n";
    const std::string gridplot_dialogue = convert_test::gridplot_dialogue();
    const std::string meshdump_dialogue = convert_test::meshdump_dialogue();
    const std::string runplan_prompts =
        "enter name of INPUT *.txt matrix file\nenter name of OUTPUT setmat.f *.f test matrix fortran file\n";
    const std::map<std::string, std::string> foilcut_old = {{"foilcut.out", kOldContent}, {"foilcut.net", kOldContent}};
    const std::map<std::string, std::string> keelcut_old = {{"keelcut.out", kOldContent}, {"keelcut.net", kOldContent}};
    auto with = [](std::map<std::string, std::string> files, const std::string& name, const std::string& text) {
        files[name] = text;
        return files;
    };

    struct Case {
        const char* what;
        std::string program, name;
        std::map<std::string, std::string> files;   // the folder before the run, and after it
        std::string answers, out, missing;
    };
    const Case cases[] = {
        // the target is missing too: the source is opened first
        {"foilcut, source", ip::kFoilcut, "foilcut", foilcut_old,
         ip::answers("kel.net", "+n", "+m", "bulb.nt", "+m", "+n"), ip::dialogue(), "kel.net"},
        {"foilcut, target", ip::kFoilcut, "foilcut", with(foilcut_old, "keel.net", network),
         ip::answers("keel.net", "+n", "+m", "bulb.nt", "+m", "+n"), ip::dialogue(), "bulb.nt"},
        {"keelcut, source", ip::kKeelcut, "keelcut", keelcut_old,
         ip::answers("kel.net", "+n", "+m", "bulb.nt", "+m", "+n"), "", "kel.net"},
        // named as opened, without the blanks around it
        {"foilcut, source in blanks", ip::kFoilcut, "foilcut", foilcut_old,
         ip::answers("  kel.net  ", "+n", "+m", "bulb.nt", "+m", "+n"), ip::dialogue(), "kel.net"},
        {"keelcut, target", ip::kKeelcut, "keelcut", with(keelcut_old, "keel.net", network),
         ip::answers("keel.net", "+n", "+m", "bulb.nt", "+m", "+n"), "", "bulb.nt"},
        {"gridplot", GRIDPLOT_EXE, "gridplot", {{"keel.plt", kOldContent}}, "kel.net\nkeel.plt\nDemo\n",
         gridplot_dialogue, "kel.net"},
        {"meshdump", MESHDUMP_EXE, "meshdump", {{"keel.grd", kOldContent}}, "  kel.net  \nkeel.grd\n",
         meshdump_dialogue, "kel.net"},
        {"runplan", RUNPLAN_EXE, "runplan", {{"setmat.f", kOldContent}}, "points.tx\nsetmat.f\n", runplan_prompts,
         "points.tx"},
        // the name as typed up to its end, a NUL byte shown as \0
        {"gridplot, a NUL in the name", GRIDPLOT_EXE, "gridplot", {{"keel.plt", kOldContent}},
         std::string("ke\0el.net", 9) + "\nkeel.plt\nDemo\n", gridplot_dialogue, "ke\\0el.net"},
        // never the file of the name cut at the NUL
        {"gridplot, a NUL in the name, a file of the name before it", GRIDPLOT_EXE, "gridplot",
         with({{"keel.plt", kOldContent}}, "ke", network), std::string("ke\0el.net", 9) + "\nkeel.plt\nDemo\n",
         gridplot_dialogue, "ke\\0el.net"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test_support::Sandbox box(c.program, "missing-input");
        std::vector<std::string> names;
        for (const auto& [name, text] : c.files) {
            box.write(name, text);
            names.push_back(name);
        }
        const Outcome o = box.run(c.answers);
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err,
                  c.name + ": cannot open (No such file or directory), file '" + c.missing + "' (unit 1, record 0)\n");
        EXPECT_EQ(listing(box), names);
        for (const auto& [name, text] : c.files) EXPECT_EQ(box.read(name), text) << name;
    }
}

}  // namespace
}  // namespace convert_test
