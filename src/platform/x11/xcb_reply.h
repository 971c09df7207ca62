#pragma once

#include <cstdlib>
#include <memory>

namespace quorvex {

// xcb hands out replies and errors in malloc'ed memory: one owner type frees them all.
struct XcbFree {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T> using XcbReply = std::unique_ptr<T, XcbFree>;

template <typename T> XcbReply<T> xcbReply(T* raw)
{
    return XcbReply<T>(raw);
}

} // namespace quorvex
