#pragma once

#include <QFile>
#include <sys/resource.h>
#include <unistd.h>

namespace testsupport {

// Caps the process's address space `headroomBytes` above what it uses now, so that a large
// allocation fails for real; the old limit comes back on destruction.
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(rlim_t headroomBytes)
    {
        getrlimit(RLIMIT_AS, &m_previous);
        QFile status(QStringLiteral("/proc/self/statm"));
        const qulonglong pages
            = status.open(QIODevice::ReadOnly) ? status.readAll().split(' ').value(0).toULongLong() : 0;
        rlimit capped = m_previous;
        capped.rlim_cur = rlim_t(pages) * rlim_t(getpagesize()) + headroomBytes;
        m_active = pages > 0 && setrlimit(RLIMIT_AS, &capped) == 0;
    }
    ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &m_previous); }
    AddressSpaceCap(const AddressSpaceCap&) = delete;
    AddressSpaceCap& operator=(const AddressSpaceCap&) = delete;
    bool isActive() const { return m_active; }

private:
    rlimit m_previous{};
    bool m_active = false;
};

} // namespace testsupport
