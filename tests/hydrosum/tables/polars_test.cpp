// tests of polars
