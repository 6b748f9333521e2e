// What the static C++ library's std::random_device calls, which the program never uses:
// this runtime has no file descriptors and no random source, so each call fails, and
// random_device turns that into an exception instead of handing out numbers. errno is
// one int: the program runs a single thread.
namespace {

int g_errno = 0;
constexpr int kBadFileDescriptor = 9;  // EBADF
constexpr int kInvalidArgument = 22;   // EINVAL

}  // namespace

extern "C" {

int* _errno() {
    return &g_errno;
}

int read(int, void*, unsigned int) {
    g_errno = kBadFileDescriptor;
    return -1;
}

int close(int) {
    g_errno = kBadFileDescriptor;
    return -1;
}

int rand_s(unsigned int*) {
    return kInvalidArgument;
}

// The library declares these two as imported from a DLL and calls them through the
// import table's pointer, which the program itself provides here.
extern int* (*const _imp___errno)();
int* (*const _imp___errno)() = _errno;
extern int (*const _imp__rand_s)(unsigned int*);
int (*const _imp__rand_s)(unsigned int*) = rand_s;

}  // extern "C"
