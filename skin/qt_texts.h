#pragma once

namespace vellumo {

// Qt's own texts (the file dialog's labels, buttons and file kinds, the standard menus) in
// simplified Chinese: every Qt catalogue installed for zh_CN, the few words those catalogues
// miss, and Chinese as the default locale (dates, and the file kinds the MIME database
// describes). Returns false when Qt's catalogues are not installed; the dialogs then keep
// Qt's English texts there.
bool installQtChineseTexts();

}  // namespace vellumo
