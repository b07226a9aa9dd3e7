#pragma once

// Conversion between simplified and traditional Chinese characters, over the OpenCC library.
// The two converters are loaded at the first use and stay loaded; a conversion is safe on any
// thread. Text comes back unchanged when the conversion data is missing.

#include <QString>

namespace vellumo {

QString toSimplified(const QString& text);
QString toTraditional(const QString& text);

}  // namespace vellumo
