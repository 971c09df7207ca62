#include "platform/wayland/shm_memory.h"

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace quorvex {

std::unique_ptr<ShmMemory> ShmMemory::create(size_t size)
{
    const int fd = memfd_create("quorvex7", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    void* data = ftruncate(fd, off_t(size)) == 0
        ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
        : MAP_FAILED;
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::unique_ptr<ShmMemory> memory(new ShmMemory);
    memory->m_data = static_cast<unsigned char*>(data);
    memory->m_size = size;
    memory->m_fd = fd;
    return memory;
}

ShmMemory::~ShmMemory()
{
    if (m_fd >= 0)
        close(m_fd);
    if (m_data)
        munmap(m_data, m_size);
}

Status ShmMemory::copyOut(size_t offset, void* into, size_t size) const
{
    if (offset > m_size || size > m_size - offset)
        return fail("a read past the end of the shared memory");
    auto* at = static_cast<unsigned char*>(into);
    while (size > 0) {
        const ssize_t got = pread(m_fd, at, size, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return fail(std::string("cannot read the shared memory: ")
                + (got < 0 ? std::strerror(errno) : "it ended"));
        at += got;
        offset += size_t(got);
        size -= size_t(got);
    }
    return {};
}

wl_buffer* ShmMemory::createBuffer(wl_shm* shm, int width, int height, int stride, uint32_t format) const
{
    // The buffer keeps what it needs of the pool.
    wl_shm_pool* pool = wl_shm_create_pool(shm, m_fd, int32_t(m_size));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, format);
    wl_shm_pool_destroy(pool);
    return buffer;
}

} // namespace quorvex
