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
    for (int i = 0; i < kSlots && slot_ < 0; ++i) {
        const char* empty = nullptr;
        if (slots[i].compare_exchange_strong(empty, name))
            slot_ = i;
    }
}

UnfinishedFileName::~UnfinishedFileName()
{
    if (slot_ >= 0)
        slots[slot_].store(nullptr);
}

void removeUnfinishedFiles() noexcept
{
    for (auto& slot : slots)
        if (const char* name = slot.load())
            ::unlink(name);
}

} // namespace quorvex
