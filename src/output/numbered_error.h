#pragma once

#include <QString>
#include <stdexcept>

namespace quorvex {

// A failure raised by a module with the old runtime's error shape: a number, the place it came
// from ("quorvex7.mIntelJPEGLibrary") and a description. The command that called the module
// catches it and shows its own message; the description is for logs and tests, not for users.
class NumberedError : public std::runtime_error {
public:
    NumberedError(int number, QString source, QString description);

    int number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString source_;
    QString description_;
};

// The old runtime's "Overflow" error number, raised when a size no longer fits in 32 bits.
inline constexpr int kOverflowError = 6;

// The running executable's file name without its extension, as error sources start with it.
QString executableBaseName();

// executableBaseName() + "." + module, the source text of a NumberedError.
QString errorSource(const QString& module);

} // namespace quorvex
