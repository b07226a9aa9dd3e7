#pragma once

// Conversion of music the player cannot open into a WAV copy, through the converter program of
// the program folder run from a one-line script. File names are quoted so that no name can
// inject a command.

#include <QString>
#include <chrono>
#include <functional>

namespace vellumo {

// The one line of the script: the converter, "-i", the input, the output, "-y", each quoted
// for the shell.
QString converterCommandLine(const QString& converter, const QString& input, const QString& output);

// A word quoted for the POSIX shell: in single quotes, a single quote written as '\''.
QString shellQuoted(const QString& word);

// How long a conversion may take before it is given up.
inline constexpr std::chrono::milliseconds kConversionTimeLimit{5 * 60 * 1000};

// Writes the script (program folder + "convert/convert1.sh", deleted and rewritten first), runs
// it and waits until the converter has ended, calling pump while it waits. True when the
// converter ended well and the output exists.
bool convertToWav(const QString& input, const QString& output,
                  const std::function<void()>& pump = {},
                  std::chrono::milliseconds limit = kConversionTimeLimit);

}  // namespace vellumo
