#pragma once

// A large IGES file made from a real one: its rational B-spline surfaces
// (type 128) copied many times into one valid file, for the tests and the
// benchmark of surfmesh on files of thousands of entities.

#include <string>

namespace test_support {

struct IgesCopies {
    std::string text;     // the new file
    int surfaces = 0;     // type-128 entities of the source, those of one copy
};

// The start and global sections of `iges` as they are, then `copies` times
// every type-128 entity of it whose parameter lines the file holds: its two
// directory lines and its parameter lines, renumbered as the entities of one file (directory sequence
// numbers, parameter data pointers, the parameter lines' back pointers and
// sequence numbers, the terminate counts). Other fields, and columns 1 to
// 64 of the parameter lines, are copied as they are; lines of 80 columns,
// each ended by a newline.
IgesCopies iges_surface_copies(const std::string& iges, int copies);

}  // namespace test_support
