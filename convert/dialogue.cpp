#include "convert/dialogue.hpp"

#include "textio/textio.hpp"

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace convert {

void read_answer(std::span<char> field) { textio::read_required(textio::stdin_unit, "(a)", field); }

void ask(std::string_view question, std::span<char> answer) {
    textio::write(textio::stdout_unit, "(a,/,a)", question, " ? ");
    read_answer(answer);
}

void open_file(int unit, std::span<const char> name, textio::Access access) {
    const std::string_view text(name.data(), name.size());
    if (const textio::OpenResult r = textio::open(unit, text, access); !r) {
        const std::size_t first = text.find_first_not_of(' ');
        const std::string shown(first == std::string_view::npos
                                    ? std::string_view()
                                    : text.substr(first, text.find_last_not_of(' ') - first + 1));
        std::string why = shown.empty()          ? "blank file name"
                          : r.status == EBUSY ? "cannot open a file that is open already"
                                              : std::string("cannot open (") + std::strerror(r.status) + ")";
        throw textio::Failure(unit, shown, 0, std::move(why));
    }
}

}  // namespace convert
