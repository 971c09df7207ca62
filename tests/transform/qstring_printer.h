#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest show a QString (such as a picture difference) as text when a check fails.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
