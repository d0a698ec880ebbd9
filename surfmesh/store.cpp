#include "store.hpp"

#include "dialogue.hpp"

#include <algorithm>
#include <cstring>
#include <string>

namespace surfmesh {

namespace {

using textio::stdout_unit;

constexpr int letter_col = 73;    // the section letter
constexpr int section_units[] = {start_unit, global_unit, directory_unit, parameter_unit, terminate_unit};

char letter(const Record& r) { return r[letter_col - 1]; }

// Blank: only blanks, and the CR of a CR LF line end or of a last line
// without its LF. Tabs, form feeds and Ctrl-Z are not blank.
bool is_blank(const Record& r) {
    return std::all_of(r.begin(), r.end(), [](char c) { return c == ' ' || c == '\r'; });
}

[[noreturn]] void fault(std::string_view message) {
    say(message);
    textio::error_stop();
}

// The entries in the order of the lines their parameter pointers name;
// pointers below 1 name no line.
class Starts {
public:
    void order(const Deinfo& d) {
        for (int e = 1; e <= d.ient; ++e)
            if (d.field(e, f_pointer) >= 1) entries_[static_cast<std::size_t>(count_++)] = e;
        std::sort(entries_.begin(), entries_.begin() + count_,
                  [&d](int a, int b) { return d.field(a, f_pointer) < d.field(b, f_pointer); });
    }
    // Line n is about to be written to unit: the entries whose lines start there.
    void note(Deinfo& d, int n, int unit) {
        if (next_ == count_ || d.field(entries_[static_cast<std::size_t>(next_)], f_pointer) != n) return;
        const std::int64_t at = textio::mark(unit).offset;
        for (; next_ < count_ && d.field(entries_[static_cast<std::size_t>(next_)], f_pointer) == n; ++next_)
            d.parameter_at(entries_[static_cast<std::size_t>(next_)]) = at;
    }

private:
    std::array<int, maxent> entries_;
    int count_ = 0, next_ = 0;
};

// The IGES file read line by line, one line ahead of the sections.
class Reader {
public:
    Record line;

    // The next line; the end of the file ends the run.
    void next() { textio::read_record_required(iges_unit, line); }
    // The next line, or false at the end of the file.
    bool next_or_end() { return textio::read_record(iges_unit, line); }
    // The line as it stands, a record of the unit.
    void copy_to(int unit) { textio::write_record(unit, {line.data(), line.size()}); }

    // A section of plain lines: copied to its scratch file and counted.
    // With an index, the parameter section notes where each entry's lines
    // start, so that an entity is reached without reading those before it.
    void section(char key, int unit, std::string_view reading, std::string_view count_label,
                 Deinfo* index = nullptr) {
        create_scratch(unit);
        Starts starts;
        if (index) starts.order(*index);
        int n = 0;
        while (letter(line) == key) {
            if (n == 0) say(reading);
            ++n;
            if (index) starts.note(*index, n, unit);
            copy_to(unit);
            next();
        }
        textio::write(stdout_unit, "(a,i8)", count_label, n);
        textio::rewind(unit);
    }

    void directory(Deinfo& d) {
        create_scratch(directory_unit);
        d.ient = 0;
        while (letter(line) == 'D') {
            if (d.ient == 0) say(" reading directory section");
            ++d.ient;
            if (d.ient > maxent) fault(" error reading directory section (ient>maxent)");
            const int e = d.ient;
            d.parameter_at(e) = -1;
            copy_to(directory_unit);
            parse("(9i8,1x,i7)", d.field(e, f_type), d.field(e, f_pointer), d.field(e, f_structure),
                  d.field(e, f_font), d.field(e, f_level), d.field(e, f_view), d.field(e, f_matrix),
                  d.field(e, f_labeldisp), d.field(e, f_status), d.field(e, f_sequence));
            next();
            if (letter(line) != 'D') fault(" error reading directory section");
            copy_to(directory_unit);
            std::int32_t again = 0, second_sequence = 0;
            parse("(5i8,16x,a8,i8,1x,i7)", again, d.field(e, f_weight), d.field(e, f_color), d.field(e, f_lines),
                  d.field(e, f_form), d.label(e), d.field(e, f_subscript), second_sequence);
            next();
        }
        for (int e = 1; e <= d.ient; ++e) d.by_type(e) = e;
        std::stable_sort(d.by_type.a.begin(), d.by_type.a.begin() + d.ient,
                         [&d](int a, int b) { return d.type(a) < d.type(b); });
        textio::write(stdout_unit, "(a,i8)", " ient=", d.ient);
        textio::rewind(directory_unit);
    }

    // T lines up to the end of the file; blank lines only at the very end.
    void terminate() {
        create_scratch(terminate_unit);
        int n = 0;
        bool trailing = false;   // past the first blank line after a T line
        for (;;) {
            if (letter(line) == 'T' && !trailing) {
                if (n == 0) say(" reading terminate section");
                ++n;
                copy_to(terminate_unit);
            } else if (n > 0 && is_blank(line)) {
                trailing = true;
            } else {
                fault(" error reading file");
            }
            if (!next_or_end()) break;
        }
        textio::write(stdout_unit, "(a,i8)", " it  =", n);
        textio::rewind(terminate_unit);
    }

private:
    // Fields of the current line; a bad number ends the run, naming the file.
    template <class... T>
    void parse(std::string_view format, T&... v) {
        textio::In in(std::string_view(line.data(), line.size()), textio::fmt(format));
        (in(v), ...);
        if (textio::Result r = in.done(); !r) {
            textio::Unit& u = textio::Runtime::instance().unit(iges_unit);
            throw textio::Failure(iges_unit, u.name(), u.record(), r.message);
        }
    }
};

}  // namespace

std::string scratch_name(int unit) { return "fort." + std::to_string(unit); }

void create_scratch(int unit, textio::Access access) {
    const std::string name = scratch_name(unit);
    if (const textio::OpenResult r = textio::open(unit, name, access); !r)
        throw textio::Failure(unit, name, 0, std::string("cannot create (") + std::strerror(r.status) + ")");
}

void delete_store() {
    for (int unit : section_units)
        if (textio::is_open(unit)) textio::close(unit, textio::Disposition::remove);
}

bool read_section_line(int unit, Record& line) {
    return textio::is_open(unit) && textio::read_record(unit, line);
}

void open_output(int unit, const FileName& name, std::string_view what) {
    if (const textio::OpenResult r = textio::open(unit, name, textio::Access::existing_or_new); !r)
        throw textio::Failure(unit, textio::shown_name(name), 0,
                              textio::open_refusal(r.status, name, "the " + std::string(what)));
}

void readiges(Deinfo& d) {
    FileName name;
    for (;;) {
        empty_line();
        say(" read new IGES file");
        ask(" enter filename: ");
        textio::read_answer(name);
        const textio::OpenResult r = textio::open(iges_unit, name, textio::Access::existing);
        if (r) break;
        textio::refused_name(textio::shown_name(name), textio::open_refusal(r.status, name));
    }

    Reader r;
    r.next();
    empty_line();
    r.section('S', start_unit, " reading start section", " is  =");
    r.section('G', global_unit, " reading global section", " ig  =");
    r.directory(d);
    r.section('P', parameter_unit, " reading parameter section", " ip  =", &d);
    r.terminate();
    textio::close(iges_unit);
}

}  // namespace surfmesh
