#include "networks.hpp"

#include "scratch.hpp"

#include <sstream>

namespace test_support {

std::optional<std::vector<Network>> parse_networks(const std::string& text)
{
    const std::vector<std::string> lines = split_lines(text);
    std::vector<Network> nets;
    std::size_t k = 0;
    while (k < lines.size() && lines[k].find_first_not_of(' ') != std::string::npos) {
        const std::string head = lines[k++];
        Network n;
        std::istringstream counts(head.substr(0, 5) + " " + (head.size() > 5 ? head.substr(5, 5) : ""));
        if (!(counts >> n.ni >> n.nj) || n.ni < 0 || n.nj < 0) return std::nullopt;
        n.title = head.size() > 20 ? head.substr(20) : "";
        n.title.erase(n.title.find_last_not_of(' ') + 1);
        if (n.ni * n.nj == 0) ++k;
        std::vector<double> v;
        while (v.size() < 3u * static_cast<std::size_t>(n.ni * n.nj)) {
            if (k >= lines.size()) return std::nullopt;
            std::istringstream in(lines[k++]);
            for (double d; in >> d;) v.push_back(d);
        }
        for (std::size_t m = 0; m + 2 < v.size(); m += 3) n.p.push_back({v[m], v[m + 1], v[m + 2]});
        nets.push_back(std::move(n));
    }
    return nets;
}

}  // namespace test_support
