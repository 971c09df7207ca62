#pragma once

#include <QFile>
#include <sys/resource.h>
#include <unistd.h>

namespace testsupport {

// Lowers a soft limit for its lifetime, so allocations (RLIMIT_AS) or writes (RLIMIT_FSIZE) fail for real.
class ResourceLimit {
public:
    using Resource = decltype(RLIMIT_AS);
    ResourceLimit(Resource resource, rlim_t value)
        : m_resource(resource)
    {
        getrlimit(resource, &m_previous);
        rlimit lowered = m_previous;
        lowered.rlim_cur = value;
        m_active = value > 0 && setrlimit(resource, &lowered) == 0;
    }
    ~ResourceLimit() { setrlimit(m_resource, &m_previous); }
    ResourceLimit(const ResourceLimit&) = delete;
    ResourceLimit& operator=(const ResourceLimit&) = delete;
    bool isActive() const { return m_active; }

    // The address space this process uses now plus `headroom`; 0 when it cannot be read.
    static rlim_t addressSpaceInUsePlus(rlim_t headroom)
    {
        QFile status(QStringLiteral("/proc/self/statm"));
        const rlim_t pages
            = status.open(QIODevice::ReadOnly) ? status.readAll().split(' ').value(0).toULongLong() : 0;
        return pages > 0 ? pages * rlim_t(getpagesize()) + headroom : 0;
    }

private:
    Resource m_resource;
    rlimit m_previous{};
    bool m_active = false;
};

} // namespace testsupport
