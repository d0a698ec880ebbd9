// Fortran-style text record I/O: units, formats, statements, the run.
#pragma once

#include "answers.hpp"
#include "format.hpp"
#include "platform.hpp"
#include "run.hpp"
#include "statement.hpp"
#include "units.hpp"
