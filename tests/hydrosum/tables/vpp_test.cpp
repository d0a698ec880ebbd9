// tests of the vpp tables
