// filled in by the tests of its commands
