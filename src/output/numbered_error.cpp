#include "output/numbered_error.h"

namespace quorvex {

namespace {

std::string& nameInUse()
{
    static std::string name = "quorvex7";
    return name;
}

} // namespace

NumberedError::NumberedError(int number, std::string source, std::string description)
    : std::runtime_error(source + ": " + description)
    , m_number(number)
    , m_source(std::move(source))
    , m_description(std::move(description))
{
}

void setProgramName(const std::string& commandPath)
{
    std::string name = commandPath.substr(commandPath.find_last_of('/') + 1);
    if (const size_t dot = name.find_last_of('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    if (!name.empty())
        nameInUse() = name;
}

const std::string& programName()
{
    return nameInUse();
}

std::string errorSource(const std::string& module)
{
    return programName() + "." + module;
}

} // namespace quorvex
