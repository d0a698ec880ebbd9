// The OpenCASCADE side of surfmesh_bench: what a designer would write
// instead of surfmesh to mesh every B-spline surface of an IGES file.
//   surfmesh_reference <file.igs> <points.net>
// Reads the file with IGESControl_Reader, takes every
// IGESGeom_BSplineSurface (type 128) of its model in file order, evaluates
// it 9 x 9 at the uniform parameters surfmesh takes and writes the points
// as a network file (headers "(2i5)", three 16-column numbers a point,
// j outer and i inner). Exits 1 when the file cannot be read.

#include <Geom_BSplineSurface.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESData_IGESModel.hxx>
#include <IGESGeom_BSplineSurface.hxx>
#include <IGESToBRep_BasicSurface.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <gp_Pnt.hxx>

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

constexpr int kPoints = 9;   // a direction

// Where surfmesh puts point k of n in lo..hi: uniform in single precision,
// a millionth of the range below its end, not below the first knot.
double parameter(double lo, double hi, int k, int n, double first_knot) {
    const float l = static_cast<float>(lo), h = static_cast<float>(hi);
    const float s = static_cast<float>(k - 1) / static_cast<float>(n - 1);
    const float uu = (h - l) * s + l, end = h - (h - l) * 1.0e-6f;
    return std::max(std::min(uu, end), static_cast<float>(first_knot));
}

// One point a line, each coordinate in 16 columns with 9 significant
// digits, by the fastest formatting the standard library has.
void put_point(std::FILE* out, const gp_Pnt& p) {
    char line[64];
    char* q = line;
    for (const double c : {p.X(), p.Y(), p.Z()}) {
        char f[32];
        const std::to_chars_result r = std::to_chars(f, f + sizeof f, c, std::chars_format::scientific, 8);
        const int n = static_cast<int>(r.ptr - f);
        q = std::fill_n(q, std::max(16 - n, 0), ' ');
        q = std::copy(f, r.ptr, q);
    }
    *q++ = '\n';
    std::fwrite(line, 1, static_cast<std::size_t>(q - line), out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: surfmesh_reference <file.igs> <points.net>\n");
        return 2;
    }
    IGESControl_Controller::Init();
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
    IGESControl_Reader reader;
    if (reader.ReadFile(argv[1]) != IFSelect_RetDone) return 1;
    const Handle(IGESData_IGESModel) model = reader.IGESModel();
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out) return 1;
    IGESToBRep_BasicSurface convert;   // no model given: the file's numbers as they are
    for (int e = 1; e <= model->NbEntities(); ++e) {
        const Handle(IGESGeom_BSplineSurface) s = Handle(IGESGeom_BSplineSurface)::DownCast(model->Entity(e));
        if (s.IsNull()) continue;
        const Handle(Geom_BSplineSurface) g = convert.TransferBSplineSurface(s);
        if (g.IsNull()) return 1;
        // The range U0, U1, V0, V1 the file gives: this OpenCASCADE's reader
        // stores U1 where VMin() finds it and V0 where UMax() does.
        const double u0 = s->UMin(), u1 = s->VMin(), v0 = s->UMax(), v1 = s->VMax();
        const double s1 = s->KnotU(-s->DegreeU()), t1 = s->KnotV(-s->DegreeV());
        std::fprintf(out, "%5d%5d\n", kPoints, kPoints);
        for (int j = 1; j <= kPoints; ++j)
            for (int i = 1; i <= kPoints; ++i)
                put_point(out, g->Value(parameter(u0, u1, i, kPoints, s1), parameter(v0, v1, j, kPoints, t1)));
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
