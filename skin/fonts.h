#pragma once

namespace vellumo {

// Maps the two Chinese font names the windows and movies use onto installed fonts.
void installFontSubstitutions();

}  // namespace vellumo
