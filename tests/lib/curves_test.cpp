// filled in by the tests of the curve routines
