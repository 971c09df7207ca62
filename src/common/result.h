#pragma once

#include <optional>
#include <string>
#include <utility>

// How our own code reports a failure: a value, or one line saying why not (starting in lower case,
// no newline). Plain C++, usable by the code that links no GUI library.
namespace quorvex {

struct Failure {
    std::string message;
};

inline Failure fail(std::string message)
{
    return {std::move(message)};
}

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Failure failure)
        : m_error(std::move(failure.message))
    {
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() & { return *m_value; }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    T& operator*() & { return *m_value; }
    const T& operator*() const& { return *m_value; }

    // Why there is no value; empty when there is one.
    const std::string& error() const { return m_error; }

private:
    std::optional<T> m_value;
    std::string m_error;
};

// Success or one line saying why not.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : m_error(std::move(failure.message))
        , m_failed(true)
    {
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return m_error; }

private:
    std::string m_error;
    bool m_failed = false;
};

using Status = Result<void>;

} // namespace quorvex
