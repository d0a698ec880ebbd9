// Number fields as Fortran writes and reads them.
#pragma once

#include "number_reader.hpp"
#include "number_writer.hpp"
