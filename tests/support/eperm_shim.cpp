// Preloaded into a program that a test runs (LD_PRELOAD): every open of the
// file named by SUITE_EPERM_FILE, exactly as the program names it, fails
// with EPERM, as a security module or a FUSE file system may refuse it;
// every other open goes through.

#undef _FORTIFY_SOURCE   // its inline open() would clash with the one defined here

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>

namespace {

bool refused(const char* path) {
    const char* name = std::getenv("SUITE_EPERM_FILE");
    return name != nullptr && path != nullptr && std::strcmp(path, name) == 0;
}

template <class F>
F next(const char* symbol) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, symbol));
}

// The mode argument is there only when the file may be created.
mode_t mode_of(int flags, va_list ap) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(ap, mode_t) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = mode_of(flags, ap);
    va_end(ap);
    if (refused(path)) return errno = EPERM, -1;
    static const auto real = next<int (*)(const char*, int, ...)>("open");
    return real(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = mode_of(flags, ap);
    va_end(ap);
    if (refused(path)) return errno = EPERM, -1;
    static const auto real = next<int (*)(const char*, int, ...)>("open64");
    return real(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = mode_of(flags, ap);
    va_end(ap);
    if (refused(path)) return errno = EPERM, -1;
    static const auto real = next<int (*)(int, const char*, int, ...)>("openat");
    return real(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = mode_of(flags, ap);
    va_end(ap);
    if (refused(path)) return errno = EPERM, -1;
    static const auto real = next<int (*)(int, const char*, int, ...)>("openat64");
    return real(dir, path, flags, mode);
}

FILE* fopen(const char* path, const char* mode) {
    if (refused(path)) return errno = EPERM, nullptr;
    static const auto real = next<FILE* (*)(const char*, const char*)>("fopen");
    return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
    if (refused(path)) return errno = EPERM, nullptr;
    static const auto real = next<FILE* (*)(const char*, const char*)>("fopen64");
    return real(path, mode);
}

}  // extern "C"
