#pragma once

#include "common/result.h"

#include <cstddef>
#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace quorvex {

// Memory shared with the compositor: mapped here, offered to it one buffer at a time. It holds no
// object of the connection, so a picture lent from it may outlive the connection; the buffers made
// from it may not outlive it.
class ShmMemory {
public:
    // `size` bytes, zero-filled; null when the system refuses.
    static std::unique_ptr<ShmMemory> create(size_t size);
    ~ShmMemory();
    ShmMemory(const ShmMemory&) = delete;
    ShmMemory& operator=(const ShmMemory&) = delete;

    unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }
    // Copies `size` bytes from `offset` into `into` through the file, not the mapping: pages the
    // compositor wrote are read without being mapped here, each of which costs a fault.
    Status copyOut(size_t offset, void* into, size_t size) const;
    // A buffer of that layout over the start of the memory, which must hold stride * height bytes.
    wl_buffer* createBuffer(wl_shm* shm, int width, int height, int stride, uint32_t format) const;

private:
    ShmMemory() = default;
    unsigned char* m_data = nullptr;
    size_t m_size = 0;
    int m_fd = -1;
};

} // namespace quorvex
