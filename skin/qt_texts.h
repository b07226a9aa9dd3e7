#pragma once

namespace vellumo {

// Qt's own texts (the file dialog's labels and buttons, the standard menus) in simplified
// Chinese, from the translations installed with Qt. Returns false when they are not installed;
// the dialogs then keep Qt's English texts.
bool installQtChineseTexts();

}  // namespace vellumo
