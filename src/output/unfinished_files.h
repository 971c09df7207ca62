#pragma once

namespace quorvex {

// The names of temporary files that exist only while a save is under way. Nothing here touches
// signal handling: a program that wants such files gone when a signal ends it calls
// removeUnfinishedFiles() from its own handler.
class UnfinishedFileName {
public:
    // Remembers `name` (which must outlive this object) until destruction; a few at a time.
    explicit UnfinishedFileName(const char* name);
    ~UnfinishedFileName();
    UnfinishedFileName(const UnfinishedFileName&) = delete;
    UnfinishedFileName& operator=(const UnfinishedFileName&) = delete;

private:
    int m_slot = -1;
};

// Deletes every file remembered at the moment; safe to call from a signal handler.
void removeUnfinishedFiles() noexcept;

} // namespace quorvex
