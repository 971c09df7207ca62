#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_shm;
struct wl_shm_pool;

namespace quorvex {

// Memory shared with the compositor: mapped here and offered to it as a wl_shm pool, both let go
// together. Buffers made from it may outlive the pool object but not the mapping.
class ShmMemory {
public:
    // `size` bytes, zero-filled; null when the system refuses.
    static std::unique_ptr<ShmMemory> create(wl_shm* shm, size_t size);
    ~ShmMemory();
    ShmMemory(const ShmMemory&) = delete;
    ShmMemory& operator=(const ShmMemory&) = delete;

    unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }
    // A buffer of that layout over the start of the memory, which must hold stride * height bytes.
    wl_buffer* createBuffer(int width, int height, int stride, uint32_t format) const;

private:
    ShmMemory() = default;
    unsigned char* m_data = nullptr;
    size_t m_size = 0;
    wl_shm_pool* m_pool = nullptr;
};

} // namespace quorvex
