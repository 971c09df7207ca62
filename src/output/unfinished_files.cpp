#include "output/unfinished_files.h"

#include <atomic>
#include <unistd.h>

namespace quorvex {

namespace {

// Plain atomic pointers: a signal handler may read them at any moment.
constexpr int kSlots = 8;
std::atomic<const char*> slots[kSlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

} // namespace

UnfinishedFileName::UnfinishedFileName(const char* name)
{
    for (int i = 0; i < kSlots && m_slot < 0; ++i) {
        const char* empty = nullptr;
        if (slots[i].compare_exchange_strong(empty, name))
            m_slot = i;
    }
}

UnfinishedFileName::~UnfinishedFileName()
{
    if (m_slot >= 0)
        slots[m_slot].store(nullptr);
}

void removeUnfinishedFiles() noexcept
{
    for (auto& slot : slots)
        if (const char* name = slot.load())
            ::unlink(name);
}

} // namespace quorvex
