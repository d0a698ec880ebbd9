// tests of zones
