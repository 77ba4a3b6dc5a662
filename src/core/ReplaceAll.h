#pragma once

#include <QString>

// Replaces every occurrence of pattern (exact, case-sensitive); the replacement is never
// searched again, and an empty pattern changes nothing.
QString ReplaceAll(const QString& source, const QString& pattern, const QString& replacement);
