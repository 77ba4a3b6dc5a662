#pragma once

#include <QString>

// The one way the program copies text: the text goes out as Unicode, and where the desktop
// also keeps a locale beside copied text (Windows), the locale is Russian, so that programs
// reading the single-byte form see Cyrillic letters too.
namespace TRusClipboard {

void setText(const QString& text);

} // namespace TRusClipboard
