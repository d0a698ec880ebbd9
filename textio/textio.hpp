// Fortran-style text record I/O: units, formats, statements, the run.
#pragma once

#include "format.hpp"
#include "platform.hpp"
#include "run.hpp"
#include "statement.hpp"
#include "units.hpp"
