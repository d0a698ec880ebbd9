// Writes the IGES files of tests/surfmesh/occt/ and examples/surfmesh/ with
// OpenCASCADE's IGES writer, from shapes built here:
//   occt_iges <tests folder> <demo folder>
// writes bicubic.igs, rational.igs and trimmed.igs into the first, bulb.igs
// and cutbulb.igs into the second.
// The files are committed: the tests read them where OpenCASCADE is absent.

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepLib.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <GCE2d_MakeArcOfCircle.hxx>
#include <GCE2d_MakeSegment.hxx>
#include <Geom2dConvert.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <GeomConvert.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESControl_Writer.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax3.hxx>
#include <gp_Circ2d.hxx>
#include <gp_Trsf.hxx>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Polynomial, degree 3 in u and 2 in v, uneven knots over 0..2 and 1..3.
Handle(Geom_BSplineSurface) bicubic_surface() {
    TColgp_Array2OfPnt poles(1, 5, 1, 4);
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 4; ++j)
            poles(i, j) = gp_Pnt(1.5 * (i - 1) + 0.1 * j * j, 1.0 * (j - 1) - 0.05 * i, 0.3 * std::sin(i + 0.7 * j));
    TColStd_Array1OfReal uk(1, 3), vk(1, 3);
    TColStd_Array1OfInteger um(1, 3), vm(1, 3);
    uk(1) = 0.0, uk(2) = 0.6, uk(3) = 2.0;
    um(1) = 4, um(2) = 1, um(3) = 4;
    vk(1) = 1.0, vk(2) = 1.4, vk(3) = 3.0;
    vm(1) = 3, vm(2) = 1, vm(3) = 3;
    return new Geom_BSplineSurface(poles, uk, vk, um, vm, 3, 2);
}

TopoDS_Shape bicubic() { return BRepBuilderAPI_MakeFace(bicubic_surface(), 1.0e-7).Face(); }

// A third of a torus: rational, degree 2 both ways.
Handle(Geom_BSplineSurface) rational_surface() {
    Handle(Geom_ToroidalSurface) torus = new Geom_ToroidalSurface(gp_Ax3(), 5.0, 1.5);
    Handle(Geom_RectangularTrimmedSurface) part =
        new Geom_RectangularTrimmedSurface(torus, 0.0, 2.0 * M_PI / 3.0, 0.0, M_PI);
    return GeomConvert::SurfaceToBSplineSurface(part);
}

TopoDS_Shape rational() { return BRepBuilderAPI_MakeFace(rational_surface(), 1.0e-7).Face(); }

Handle(Geom2d_Curve) segment(const gp_Pnt2d& a, const gp_Pnt2d& b) {
    return Handle(Geom2d_Curve)(GCE2d_MakeSegment(a, b).Value());
}

// The face of a surface inside a loop of parameter-space curves, each
// curve given as a B-spline (type 126 in the file, a circle rational).
TopoDS_Shape trimmed_face(const Handle(Geom_BSplineSurface)& s, const std::vector<Handle(Geom2d_Curve)>& loop) {
    BRepBuilderAPI_MakeWire wire;
    for (const Handle(Geom2d_Curve)& c : loop) {
        Handle(Geom2d_BSplineCurve) b = Geom2dConvert::CurveToBSplineCurve(c);
        wire.Add(BRepBuilderAPI_MakeEdge(b, s, b->FirstParameter(), b->LastParameter()).Edge());
    }
    TopoDS_Face face = BRepBuilderAPI_MakeFace(s, wire.Wire(), true).Face();
    BRepLib::BuildCurves3d(face);
    return face;
}

// Two trimmed surfaces: the bicubic surface cut to a quarter disc about
// its corner (u, v) = (0, 1), two sides on its edges and a circular arc
// inside; the third of a torus cut along a diagonal of its parameter
// rectangle, two sides on its edges.
TopoDS_Shape trimmed() {
    const gp_Pnt2d corner(0.0, 1.0), along_u(1.6, 1.0), along_v(0.0, 2.6);
    TopoDS_Shape disc = trimmed_face(
        bicubic_surface(), {segment(corner, along_u),
                            Handle(Geom2d_Curve)(GCE2d_MakeArcOfCircle(gp_Circ2d(gp_Ax2d(corner, gp_Dir2d(1, 0)), 1.6), 0.0, M_PI / 2.0).Value()),
                            segment(along_v, corner)});
    const double u1 = 2.0 * M_PI / 3.0, v1 = M_PI;
    TopoDS_Shape half = trimmed_face(rational_surface(), {segment(gp_Pnt2d(0, 0), gp_Pnt2d(u1, 0)),
                                                          segment(gp_Pnt2d(u1, 0), gp_Pnt2d(0, v1)),
                                                          segment(gp_Pnt2d(0, v1), gp_Pnt2d(0, 0))});
    TopoDS_Compound both;
    BRep_Builder b;
    b.MakeCompound(both);
    b.Add(both, disc);
    b.Add(both, half);
    return both;
}

// Half of a bulb: a profile along x turned about the x axis through 180
// degrees, every face a rational B-spline surface.
TopoDS_Shape bulb() {
    const double length = 4.0, radius = 0.45;
    TColgp_Array1OfPnt pts(1, 7);
    const double xs[] = {0.0, 0.0, 0.5, 1.6, 2.9, 3.8, 4.0};
    const double rs[] = {0.0, 0.6, 0.95, 1.0, 0.8, 0.3, 0.0};
    for (int k = 1; k <= 7; ++k) pts(k) = gp_Pnt(xs[k - 1] * length / 4.0, rs[k - 1] * radius, 0.0);
    TColStd_Array1OfReal knots(1, 5);
    TColStd_Array1OfInteger mults(1, 5);
    const double kv[] = {0.0, 0.25, 0.5, 0.75, 1.0};
    const int km[] = {4, 1, 1, 1, 4};
    for (int k = 1; k <= 5; ++k) knots(k) = kv[k - 1], mults(k) = km[k - 1];
    Handle(Geom_BSplineCurve) profile = new Geom_BSplineCurve(pts, knots, mults, 3);
    TopoDS_Wire wire = BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(profile).Edge()).Wire();
    TopoDS_Shape turned = BRepPrimAPI_MakeRevol(wire, gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(1, 0, 0)), M_PI).Shape();
    return BRepBuilderAPI_NurbsConvert(turned).Shape();
}

// A whole bulb cut at both ends: the half bulb's surface and the same
// turned to the other side, each trimmed between two of its sections (u
// turns about the axis, v runs along it): square at the fore end (an edge
// of the parameter rectangle the file's surface gets), rounded at the aft.
TopoDS_Shape cut_bulb() {
    TopExp_Explorer faces(bulb(), TopAbs_FACE);
    Handle(Geom_BSplineSurface) upper = Handle(Geom_BSplineSurface)::DownCast(BRep_Tool::Surface(TopoDS::Face(faces.Current())));
    gp_Trsf turn;
    turn.SetRotation(gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(1, 0, 0)), M_PI);
    Handle(Geom_BSplineSurface) lower = Handle(Geom_BSplineSurface)::DownCast(upper->Transformed(turn));
    const double fore = 0.05, aft = 0.9, rounding = 0.12;
    TopoDS_Compound both;
    BRep_Builder b;
    b.MakeCompound(both);
    for (const Handle(Geom_BSplineSurface)& s : {upper, lower}) {
        double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
        s->Bounds(u0, u1, v0, v1);
        TColgp_Array1OfPnt2d arc(1, 3);
        arc(1) = gp_Pnt2d(u1, aft), arc(2) = gp_Pnt2d(0.5 * (u0 + u1), aft - rounding), arc(3) = gp_Pnt2d(u0, aft);
        TColStd_Array1OfReal knots(1, 2);
        TColStd_Array1OfInteger mults(1, 2);
        knots(1) = 0, knots(2) = 1, mults(1) = mults(2) = 3;
        b.Add(both, trimmed_face(s, {segment(gp_Pnt2d(u0, fore), gp_Pnt2d(u1, fore)),
                                     segment(gp_Pnt2d(u1, fore), gp_Pnt2d(u1, aft)),
                                     Handle(Geom2d_Curve)(new Geom2d_BSplineCurve(arc, knots, mults, 2)),
                                     segment(gp_Pnt2d(u0, aft), gp_Pnt2d(u0, fore))}));
    }
    return both;
}

bool write(const TopoDS_Shape& shape, const std::string& file) {
    IGESControl_Writer writer("M", 0);   // faces: surfaces as type 128, trimmed by type 144
    if (!writer.AddShape(shape)) return false;
    writer.ComputeModel();
    return writer.Write(file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: occt_iges <tests folder> <demo folder>\n");
        return 2;
    }
    IGESControl_Controller::Init();
    const std::string tests = argv[1], demo = argv[2];
    bool ok = write(bicubic(), tests + "/bicubic.igs") && write(rational(), tests + "/rational.igs") &&
              write(trimmed(), tests + "/trimmed.igs") && write(bulb(), demo + "/bulb.igs") &&
              write(cut_bulb(), demo + "/cutbulb.igs");
    if (!ok) std::fprintf(stderr, "occt_iges: a file could not be written\n");
    return ok ? 0 : 1;
}
