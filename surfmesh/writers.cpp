#include "writers.hpp"

#include "lib/strings.hpp"
#include "store.hpp"
#include "textio/textio.hpp"

#include <string>

namespace surfmesh {

namespace {

// All values of one coordinate, j outer, in one free-format write.
void put_all(textio::Out& o, int ni, int nj, geom::Grid g) {
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) o(g(i, j));
}

// "(3e16.8)": one point a line.
void put_points(int ni, int nj, geom::Grid x, geom::Grid y, geom::Grid z) {
    textio::Out o(mesh_unit, "(3e16.8)");
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) o(x(i, j))(y(i, j))(z(i, j));
    o.end();
}

}  // namespace

void write_header(const MeshFile& f, int iout, const Ispecs& is, const Announced& announced) {
    if (f.iform == plot3d) {
        std::int32_t n = 0;
        for (int k = 1; k <= iout; ++k) n += announced(k) ? 1 : 0;
        if (f.iplot3d >= 2 || n > 1) textio::write_list(mesh_unit, n);
        textio::Out o(mesh_unit, textio::list_directed);
        for (int k = 1; k <= iout; ++k)
            if (announced(k)) o(is.inum(k))(is.jnum(k))(std::int32_t{1});
        o.end();
    } else if (f.iform == tecplot) {
        textio::write(mesh_unit, "(a)", "VARIABLES=x,y,z");
    }
}

void write_block(int iform, std::string_view title, int ni, int nj, geom::Grid x, geom::Grid y, geom::Grid z) {
    const std::string_view t = title.substr(0, static_cast<std::size_t>(geom::lenchr(title)));
    const std::int32_t in = ni, jn = nj;
    switch (iform) {
    case plot3d: {
        textio::Out o(mesh_unit, textio::list_directed);
        for (geom::Grid g : {x, y, z}) put_all(o, ni, nj, g);
        o.end();
        break;
    }
    case tecplot:
        textio::write(mesh_unit, "(a,i3,a,i3)", "ZONE T=\"" + std::string(t) + "\", I=", in, ", J=", jn);
        put_points(ni, nj, x, y, z);
        break;
    case network:
        textio::write(mesh_unit, "(2i5,10x,a)", in, jn, t);
        put_points(ni, nj, x, y, z);
        break;
    case gridgen:
        textio::write_list(mesh_unit, in, jn);
        for (geom::Grid g : {x, y, z}) {
            textio::Out o(mesh_unit, textio::list_directed);
            put_all(o, ni, nj, g);
            o.end();
        }
        break;
    default: break;
    }
}

void write_mesh(const MeshFile& f, const Ispecs& is, const Cspecs& cs, int k, Meshes& m) {
    const Title& title = cs.title(k);
    write_block(f.iform, std::string_view(title.data(), title.size()), is.inum(k), is.jnum(k),
                Meshes::plane(m.x), Meshes::plane(m.y), Meshes::plane(m.z));
}

}  // namespace surfmesh
