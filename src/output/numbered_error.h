#pragma once

#include <stdexcept>
#include <string>

namespace quorvex {

// A failure raised by a module with the old runtime's error shape: a number, the place it came
// from ("quorvex7.mIntelJPEGLibrary") and a description. The command that called the module
// catches it and shows its own message; the description is for logs and tests, not for users.
class NumberedError : public std::runtime_error {
public:
    NumberedError(int number, std::string source, std::string description);

    int number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

private:
    int m_number;
    std::string m_source;
    std::string m_description;
};

// The old runtime's "Overflow" error number, raised when a size no longer fits in 32 bits.
inline constexpr int kOverflowError = 6;

// The program's name as error sources start with it: the file name, without folder or extension,
// that start-up gives (the command the user ran); "quorvex7" until then.
void setProgramName(const std::string& commandPath);
const std::string& programName();

// programName() + "." + module, the source text of a NumberedError.
std::string errorSource(const std::string& module);

} // namespace quorvex
