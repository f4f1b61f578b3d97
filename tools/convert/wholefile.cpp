#include "wholefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/errors.h"

ByteBuffer readWholeFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw InputError(0, std::strerror(errno));
    }
    struct stat status {};
    ByteBuffer bytes;
    // The size is a hint only: a file may grow or shrink while it is read.
    bytes.reserve(::fstat(descriptor, &status) == 0 && status.st_size > 0 ? static_cast<std::size_t>(status.st_size) + 1
                                                                          : 1 << 16);
    while (true) {
        if (bytes.spare() == 0) {
            bytes.reserve(bytes.view().size() + 1);
        }
        const ssize_t count = ::read(descriptor, bytes.end(), bytes.spare());
        if (count == 0) {
            break;
        }
        if (count < 0 && errno != EINTR) {
            const int reason = errno;
            ::close(descriptor);
            throw InputError(0, std::strerror(reason));
        }
        bytes.grow(count > 0 ? static_cast<std::size_t>(count) : 0);
    }
    ::close(descriptor);
    return bytes;
}
