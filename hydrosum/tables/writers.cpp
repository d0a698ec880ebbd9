#include "hydrosum/tables/tables.hpp"
