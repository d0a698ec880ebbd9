// The four level-1 BLAS routines of the LU solve, with the Fortran calling
// convention: every argument by address, sdot returning a float.  They come
// from the reference BLAS linked statically, so no alternative BLAS of the
// system can change a result.
#pragma once

extern "C" {
int isamax_(const int* n, const float* sx, const int* incx);
void saxpy_(const int* n, const float* sa, const float* sx, const int* incx, float* sy, const int* incy);
float sdot_(const int* n, const float* sx, const int* incx, const float* sy, const int* incy);
void sscal_(const int* n, const float* sa, float* sx, const int* incx);
}
