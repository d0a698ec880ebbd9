// surfmesh's reduced IGES file in OpenCASCADE's IGES reader: it must hold
// the B-spline surfaces of the original file, and OpenCASCADE's evaluation
// of each must give the points of surfmesh's own network file of the
// reduced file (all surfaces, uniform points, read back by surfmesh).
//   iges_reader <original.igs> <reduced.igs> <mesh.net> <package version>
// Prints one line; exits 1 on any failure.

#include <BRepAdaptor_Surface.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESData_IGESModel.hxx>
#include <IGESGeom_BSplineSurface.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <Standard_Version.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Pnt.hxx>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kTol = 1.0e-5;   // relative to the model's size: single precision against double

struct Net {
    int ni = 0, nj = 0;
    std::vector<std::array<double, 3>> p;   // j outer, i inner
};

// The networks of a network file: header "(2i5,10x,a)", points "(3e16.8)".
std::vector<Net> networks(const std::string& path) {
    std::vector<Net> nets;
    std::ifstream in(path);
    for (std::string head; std::getline(in, head);) {
        Net n;
        n.ni = std::atoi(head.substr(0, 5).c_str());
        n.nj = std::atoi(head.substr(5, 5).c_str());
        std::string l;
        for (int k = 0; k < n.ni * n.nj && std::getline(in, l); ++k)
            n.p.push_back({std::atof(l.substr(0, 16).c_str()), std::atof(l.substr(16, 16).c_str()),
                           std::atof(l.substr(32, 16).c_str())});
        nets.push_back(n);
    }
    return nets;
}

// The parameter ranges U0, U1, V0, V1 and the first knots of the file's
// type-128 entities, in directory order, read from the text (the
// entities' range accessors of this OpenCASCADE exchange U1 and V0).
struct Range {
    double u0, u1, v0, v1, s1, t1;
};

std::vector<Range> ranges(const std::string& path) {
    std::vector<std::string> d, p;
    std::ifstream in(path);
    for (std::string l; std::getline(in, l);) {
        if (l.size() < 73) continue;
        if (l[72] == 'D') d.push_back(l);
        if (l[72] == 'P') p.push_back(l);
    }
    std::vector<Range> r;
    for (std::size_t k = 0; k + 1 < d.size(); k += 2) {
        if (std::atoi(d[k].substr(0, 8).c_str()) != 128) continue;
        const std::size_t first = std::strtoul(d[k].substr(8, 8).c_str(), nullptr, 10);
        const std::size_t count = std::strtoul(d[k + 1].substr(24, 8).c_str(), nullptr, 10);
        std::string data;
        for (std::size_t c = 0; c < count && first + c <= p.size(); ++c) data += p[first - 1 + c].substr(0, 64);
        std::vector<double> v;
        std::stringstream items(data.substr(0, data.find(';')));
        for (std::string item; std::getline(items, item, ',');) {
            for (char& ch : item)
                if (ch == 'D' || ch == 'd') ch = 'E';
            v.push_back(std::atof(item.c_str()));
        }
        const std::size_t k1 = static_cast<std::size_t>(v.at(1)), k2 = static_cast<std::size_t>(v.at(2)),
                          m1 = static_cast<std::size_t>(v.at(3)), m2 = static_cast<std::size_t>(v.at(4));
        const std::size_t nks = k1 + m1 + 2, nkt = k2 + m2 + 2, at = 10 + nks + nkt + 4 * (k1 + 1) * (k2 + 1);
        r.push_back({v.at(at), v.at(at + 1), v.at(at + 2), v.at(at + 3), v.at(10), v.at(10 + nks)});
    }
    return r;
}

// Where surfmesh puts point k of n in lo..hi: uniform in single precision,
// a millionth of the range below its end, not below the first knot.
double parameter(double lo, double hi, int k, int n, double first_knot) {
    const float l = static_cast<float>(lo), h = static_cast<float>(hi);
    const float s = static_cast<float>(k - 1) / static_cast<float>(n - 1);
    const float uu = (h - l) * s + l, end = h - (h - l) * 1.0e-6f;
    return std::max(std::min(uu, end), static_cast<float>(first_knot));
}

struct Read {
    IGESControl_Reader reader;
    Handle(IGESData_IGESModel) model;
    std::vector<int> surfaces;   // ranks of the type-128 entities
};

bool read(const char* path, Read& r) {
    if (r.reader.ReadFile(path) != IFSelect_RetDone) return false;
    r.model = r.reader.IGESModel();
    for (int i = 1; i <= r.model->NbEntities(); ++i)
        if (r.model->Entity(i)->IsKind(STANDARD_TYPE(IGESGeom_BSplineSurface))) r.surfaces.push_back(i);
    return true;
}

int fail(const std::string& file, const std::string& what) {
    std::printf("FAIL %s: %s\n", file.c_str(), what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: iges_reader <original.igs> <reduced.igs> <mesh.net> <package version>\n");
        return 2;
    }
    const std::string name = std::string(argv[2]).substr(std::string(argv[2]).find_last_of('/') + 1);
    IGESControl_Controller::Init();
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
    // shapes in metres, the unit of the demo's files, as surfmesh takes their numbers
    Interface_Static::SetCVal("xstep.cascade.unit", "M");
    Read original, reduced;
    if (!read(argv[1], original)) return fail(argv[1], "OpenCASCADE cannot read it");
    if (!read(argv[2], reduced)) return fail(name, "OpenCASCADE cannot read it");
    if (reduced.surfaces.size() != original.surfaces.size() ||
        static_cast<int>(reduced.surfaces.size()) != reduced.model->NbEntities())
        return fail(name, std::to_string(reduced.model->NbEntities()) + " entities, " +
                              std::to_string(reduced.surfaces.size()) + " B-spline surfaces; the original has " +
                              std::to_string(original.surfaces.size()));
    const std::vector<Net> nets = networks(argv[3]);
    const std::vector<Range> range = ranges(argv[2]);
    if (nets.size() != reduced.surfaces.size() || range.size() != nets.size())
        return fail(name, std::to_string(nets.size()) + " meshes in " + argv[3] + " for " +
                              std::to_string(reduced.surfaces.size()) + " surfaces");

    double size = 0.0, worst = 0.0;
    int points = 0;
    for (std::size_t k = 0; k < nets.size(); ++k)
        for (const auto& p : nets[k].p)
            for (double c : p) size = std::max(size, std::fabs(c));
    for (std::size_t k = 0; k < nets.size(); ++k) {
        const int rank = reduced.surfaces[k];
        const Range& e = range[k];
        if (!reduced.reader.TransferOne(rank)) return fail(name, "surface " + std::to_string(k + 1) + " not transferred");
        TopExp_Explorer faces(reduced.reader.Shape(reduced.reader.NbShapes()), TopAbs_FACE);
        if (!faces.More()) return fail(name, "surface " + std::to_string(k + 1) + " gives no face");
        BRepAdaptor_Surface s(TopoDS::Face(faces.Current()));
        const Net& n = nets[k];
        for (int j = 1; j <= n.nj; ++j)
            for (int i = 1; i <= n.ni; ++i) {
                const gp_Pnt q =
                    s.Value(parameter(e.u0, e.u1, i, n.ni, e.s1), parameter(e.v0, e.v1, j, n.nj, e.t1));
                const auto& m = n.p[static_cast<std::size_t>((i - 1) + (j - 1) * n.ni)];
                worst = std::max({worst, std::fabs(q.X() - m[0]), std::fabs(q.Y() - m[1]), std::fabs(q.Z() - m[2])});
                ++points;
            }
    }
    char line[400];
    std::snprintf(line, sizeof line,
                  "OpenCASCADE %s (libocct-data-exchange-dev %s, IGESControl_Reader) read %zu B-spline surfaces, "
                  "those of the original; %d points of %s within %.2g of its evaluation (tolerance %.2g)",
                  OCC_VERSION_COMPLETE, argv[4], nets.size(), points,
                  std::string(argv[3]).substr(std::string(argv[3]).find_last_of('/') + 1).c_str(), worst,
                  kTol * size);
    if (worst > kTol * size) return fail(name, std::string("differs: ") + line);
    std::printf("ok   %s: %s\n", name.c_str(), line);
    return 0;
}
