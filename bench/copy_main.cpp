// sifteron-bench-copy SOURCE TARGET
// Appends SOURCE to TARGET through a 64 KiB buffer, one read() and one write()
// at a time, as sifteron-cli moves its bytes: the cost of touching every byte
// once in user space, which the benchmark sets every job against. (cat hands
// the copy to the kernel and so never passes the bytes through a buffer.)

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kBufferSize = 64 * 1024;

bool WriteAll(int fd, const char* bytes, size_t count) {
    while (count > 0) {
        const ssize_t put = write(fd, bytes, count);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        bytes += put;
        count -= static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sifteron-bench-copy SOURCE TARGET\n");
        return 2;
    }
    const int in = open(argv[1], O_RDONLY);
    if (in < 0) {
        std::fprintf(stderr, "%s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    const int out = open(argv[2], O_WRONLY | O_CREAT | O_APPEND, 0666);
    if (out < 0) {
        std::fprintf(stderr, "%s: %s\n", argv[2], std::strerror(errno));
        return 1;
    }
    static char buffer[kBufferSize];
    for (;;) {
        const ssize_t got = read(in, buffer, kBufferSize);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            std::fprintf(stderr, "%s: %s\n", argv[1], std::strerror(errno));
            return 1;
        }
        if (got == 0) {
            break;
        }
        if (!WriteAll(out, buffer, static_cast<size_t>(got))) {
            std::fprintf(stderr, "%s: %s\n", argv[2], std::strerror(errno));
            return 1;
        }
    }
    return close(out) == 0 && close(in) == 0 ? 0 : 1;
}
