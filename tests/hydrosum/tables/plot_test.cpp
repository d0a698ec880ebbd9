// tests of the plot tables
