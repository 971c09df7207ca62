#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Where an encoder's bytes go, as they are made: appended one after the other, or put at an offset
// from the start (a BMP's rows lie bottom-up, so a picture read top to bottom fills it from the end).
// The first failed write is kept, as an errno, and every later one is skipped: an encoder writes on
// and its caller asks once, at the end.
namespace quorvex {

class ByteSink {
public:
    virtual ~ByteSink() = default;

    void append(const void* bytes, size_t size);
    void writeAt(uint64_t offset, const void* bytes, size_t size);
    // The errno of the first write that failed; 0 while none has.
    int error() const { return m_error; }
    // One past the last byte written.
    uint64_t end() const { return m_end; }

protected:
    // Writes all `size` bytes at `offset`: 0, or the errno of the failure.
    virtual int put(uint64_t offset, const void* bytes, size_t size) = 0;

private:
    uint64_t m_end = 0;
    int m_error = 0;
};

// Into a file open for writing, at its offsets (pwrite): the safe replace's temporary file.
class FileSink final : public ByteSink {
public:
    explicit FileSink(int fd)
        : m_fd(fd)
    {
    }

private:
    int put(uint64_t offset, const void* bytes, size_t size) override;
    int m_fd;
};

// Into memory (ENOMEM when it runs out); bytes not yet written are zero.
class MemorySink final : public ByteSink {
public:
    // Room for `size` bytes, so that as many are written without the memory being moved as it grows.
    // Pages are touched only as bytes are written.
    void reserve(size_t size) { m_bytes.reserve(size); }
    const std::vector<unsigned char>& bytes() const { return m_bytes; }
    std::vector<unsigned char> take() { return std::move(m_bytes); }

private:
    int put(uint64_t offset, const void* bytes, size_t size) override;
    std::vector<unsigned char> m_bytes;
};

} // namespace quorvex
