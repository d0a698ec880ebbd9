// Writes the IGES files of tests/surfmesh/occt/ and examples/surfmesh/ with
// OpenCASCADE's IGES writer, from shapes built here:
//   occt_iges <tests folder> <demo folder>
// writes bicubic.igs and rational.igs into the first, bulb.igs into the second.
// The files are committed: the tests read them where OpenCASCADE is absent.

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
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
#include <TColgp_Array2OfPnt.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax3.hxx>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Polynomial, degree 3 in u and 2 in v, uneven knots over 0..2 and 1..3.
TopoDS_Shape bicubic() {
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
    Handle(Geom_BSplineSurface) s = new Geom_BSplineSurface(poles, uk, vk, um, vm, 3, 2);
    return BRepBuilderAPI_MakeFace(s, 1.0e-7).Face();
}

// A third of a torus: rational, degree 2 both ways.
TopoDS_Shape rational() {
    Handle(Geom_ToroidalSurface) torus = new Geom_ToroidalSurface(gp_Ax3(), 5.0, 1.5);
    Handle(Geom_RectangularTrimmedSurface) part =
        new Geom_RectangularTrimmedSurface(torus, 0.0, 2.0 * M_PI / 3.0, 0.0, M_PI);
    Handle(Geom_BSplineSurface) s = GeomConvert::SurfaceToBSplineSurface(part);
    return BRepBuilderAPI_MakeFace(s, 1.0e-7).Face();
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
              write(bulb(), demo + "/bulb.igs");
    if (!ok) std::fprintf(stderr, "occt_iges: a file could not be written\n");
    return ok ? 0 : 1;
}
