#include "output/byte_sink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

namespace quorvex {

void ByteSink::append(const void* bytes, size_t size)
{
    writeAt(m_end, bytes, size);
}

void ByteSink::writeAt(uint64_t offset, const void* bytes, size_t size)
{
    if (m_error || size == 0)
        return;
    m_error = put(offset, bytes, size);
    m_end = std::max(m_end, offset + size);
}

int FileSink::put(uint64_t offset, const void* bytes, size_t size)
{
    const auto* next = static_cast<const unsigned char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::pwrite(m_fd, next, size, off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO; // cannot happen with a regular file; never loop on it
        next += written;
        offset += uint64_t(written);
        size -= size_t(written);
    }
    return 0;
}

int MemorySink::put(uint64_t offset, const void* bytes, size_t size)
{
    if (offset + size > m_bytes.max_size())
        return ENOMEM;
    try {
        if (offset + size > m_bytes.size())
            m_bytes.resize(size_t(offset + size));
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    std::memcpy(m_bytes.data() + offset, bytes, size);
    return 0;
}

} // namespace quorvex
