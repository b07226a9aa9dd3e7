#include "app/main_window.h"

#include <QFont>

#include "app/app_texts.h"

namespace vellumo {

void installFontSubstitutions() {
    QFont::insertSubstitution(texts::kSongTi, QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(texts::kHeiTi, QStringLiteral("Noto Sans CJK SC"));
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(texts::kApplicationTitle);
    setFixedSize(kClientWidth, kClientHeight);
    QFont font(texts::kSongTi);
    font.setPixelSize(12);
    setFont(font);
}

}  // namespace vellumo
