// tests of upright
