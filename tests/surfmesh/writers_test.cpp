// The mesh file layouts: headers for every grid count, point order, zone
// and network headers, free-format blocks.

#include "support/scratch.hpp"
#include "surfmesh/store.hpp"
#include "surfmesh/writers.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

namespace {

using surfmesh::MeshFile;

// A 2 x 2 mesh: x = i, y = 10 j, z = -0.5 at (2,2), else 0.
struct Mesh {
    std::array<float, 4> x{1, 2, 1, 2}, y{10, 10, 20, 20}, z{0, 0, 0, -0.5f};
    geom::Grid gx() { return geom::Grid(x.data(), 2); }
    geom::Grid gy() { return geom::Grid(y.data(), 2); }
    geom::Grid gz() { return geom::Grid(z.data(), 2); }
};

const std::string kPoints = "  0.10000000E+01  0.10000000E+02  0.00000000E+00\n"
                            "  0.20000000E+01  0.10000000E+02  0.00000000E+00\n"
                            "  0.10000000E+01  0.20000000E+02  0.00000000E+00\n"
                            "  0.20000000E+01  0.20000000E+02 -0.50000000E+00\n";

// Runs `write` with unit 2 on a fresh file and gives back what it holds.
template <class F>
std::string written(F write)
{
    test_support::TempDir dir("surfmesh-writers");
    const std::string path = (dir / "mesh").string();
    EXPECT_TRUE(textio::open(surfmesh::mesh_unit, path, textio::Access::replace));
    write();
    textio::close(surfmesh::mesh_unit);
    return test_support::read_file(path);
}

std::string block(int iform, std::string_view title)
{
    Mesh m;
    return written([&] { surfmesh::write_block(iform, title, 2, 2, m.gx(), m.gy(), m.gz()); });
}

// The count record and the sizes follow the meshes that will be in the file.
TEST(Writers, Plot3dHeaders)
{
    auto is = std::make_unique<surfmesh::Ispecs>();
    is->inum(1) = 2, is->jnum(1) = 17, is->inum(2) = 9, is->jnum(2) = 3, is->inum(3) = 4, is->jnum(3) = 5;
    struct Case {
        int iplot3d, iout;
        std::string skipped;   // specifications without a mesh
        std::string want;
    };
    const Case cases[] = {
        {1, 0, "", "\n"},
        {2, 0, "", "           0\n\n"},
        {1, 1, "", "           2          17           1\n"},
        {2, 1, "", "           1\n           2          17           1\n"},
        {1, 2, "", "           2\n           2          17           1           9           3           1\n"},
        {1, 3, "2", "           2\n           2          17           1           4           5           1\n"},
        {1, 2, "1", "           9           3           1\n"},
        {2, 2, "1", "           1\n           9           3           1\n"},
        {1, 1, "1", "\n"},
        {2, 2, "12", "           0\n\n"},
    };
    for (const Case& c : cases) {
        auto announced = std::make_unique<surfmesh::Announced>();
        announced->a.fill(true);
        for (char k : c.skipped) (*announced)(k - '0') = false;
        EXPECT_EQ(written([&] {
                      surfmesh::write_header(MeshFile{surfmesh::plot3d, c.iplot3d}, c.iout, *is, *announced);
                  }),
                  c.want)
            << c.iplot3d << " " << c.iout << " " << c.skipped;
    }
    auto all = std::make_unique<surfmesh::Announced>();
    all->a.fill(true);
    EXPECT_EQ(written([&] { surfmesh::write_header(MeshFile{surfmesh::tecplot, 0}, 3, *is, *all); }),
              "VARIABLES=x,y,z\n");
    EXPECT_EQ(written([&] { surfmesh::write_header(MeshFile{surfmesh::network, 0}, 3, *is, *all); }), "");
    EXPECT_EQ(written([&] { surfmesh::write_header(MeshFile{surfmesh::gridgen, 0}, 3, *is, *all); }), "");
}

TEST(Writers, Blocks)
{
    const std::string title = "flip test" + std::string(51, ' ');
    EXPECT_EQ(block(surfmesh::tecplot, title), "ZONE T=\"flip test\", I=  2, J=  2\n" + kPoints);
    EXPECT_EQ(block(surfmesh::network, title), "    2    2          flip test\n" + kPoints);
    EXPECT_EQ(block(surfmesh::plot3d, title),
              "   1.00000000       2.00000000       1.00000000       2.00000000    \n"
              "   10.0000000       10.0000000       20.0000000       20.0000000    \n"
              "   0.00000000       0.00000000       0.00000000     -0.500000000    \n");
    EXPECT_EQ(block(surfmesh::gridgen, title),
              "           2           2\n"
              "   1.00000000       2.00000000       1.00000000       2.00000000    \n"
              "   10.0000000       10.0000000       20.0000000       20.0000000    \n"
              "   0.00000000       0.00000000       0.00000000     -0.500000000    \n");
}

TEST(Writers, Titles)
{
    const std::string blank(60, ' ');
    EXPECT_EQ(block(surfmesh::tecplot, blank), "ZONE T=\"\", I=  2, J=  2\n" + kPoints);
    EXPECT_EQ(block(surfmesh::network, blank), "    2    2          \n" + kPoints);
    const std::string odd = "  keel \"root\"" + std::string(47, ' ');
    EXPECT_EQ(block(surfmesh::tecplot, odd), "ZONE T=\"  keel \"root\"\", I=  2, J=  2\n" + kPoints);
    EXPECT_EQ(block(surfmesh::network, odd), "    2    2            keel \"root\"\n" + kPoints);
}

// A view with leading dimension 0 repeats its row: one line of points as a
// mesh of two rows.
TEST(Writers, RepeatedRow)
{
    std::array<float, 3> x{1, 2, 3}, y{0, 0, 0}, z{0, 0, 0};
    const std::string got = written([&] {
        surfmesh::write_block(surfmesh::network, "line", 3, 2, geom::Grid(x.data(), 0), geom::Grid(y.data(), 0),
                              geom::Grid(z.data(), 0));
    });
    const std::string row = "  0.10000000E+01  0.00000000E+00  0.00000000E+00\n"
                            "  0.20000000E+01  0.00000000E+00  0.00000000E+00\n"
                            "  0.30000000E+01  0.00000000E+00  0.00000000E+00\n";
    EXPECT_EQ(got, "    3    2          line\n" + row + row);
}

}  // namespace
