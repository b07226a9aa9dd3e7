#include "data/generator/help_page.h"

#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace vellumo::datagen {

namespace {

// For a browser: a readable column, pictures within it. Our help window ignores what it
// does not know.
const QString kPageStyle = QStringLiteral(
    "<style type=\"text/css\">\n"
    "body { max-width: 960px; margin: 0 auto; padding: 0 24px 48px; line-height: 1.6; }\n"
    "img { max-width: 100%; height: auto; }\n"
    "table { border-collapse: collapse; }\n"
    "td, th { padding: 4px 8px; }\n"
    "pre { background: #f2f2f2; padding: 8px; }\n"
    "</style>\n");

void anchorHeadings(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty()) {
            continue;
        }
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorNames({headingAnchor(block.text())});
        cursor.mergeCharFormat(anchor);
    }
}

void scalePictures(QTextDocument& document, const QString& pictureRoot) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                continue;
            }
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QSize size = QImageReader(pictureRoot + u'/' + image.name()).size();
            if (size.width() <= kMaxHelpPictureWidth || size.height() <= 0) {
                continue;
            }
            image.setWidth(kMaxHelpPictureWidth);
            image.setHeight(size.height() * kMaxHelpPictureWidth / size.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

}  // namespace

QString headingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_') {
            anchor += c.toLower();
        } else if (c == u' ') {
            anchor += u'-';
        }
    }
    return anchor;
}

QString helpPageFromGuide(const QString& markdown, const QString& pictureRoot) {
    QTextDocument document;
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) {
            document.setMetaInformation(QTextDocument::DocumentTitle, block.text());
            break;
        }
    }
    anchorHeadings(document);
    scalePictures(document, pictureRoot);
    QString html = document.toHtml();
    if (!html.contains(QStringLiteral("charset"))) {
        html.replace(QStringLiteral("<head>"), QStringLiteral("<head><meta charset=\"utf-8\" />"));
    }
    html.replace(QStringLiteral("</head>"), kPageStyle + QStringLiteral("</head>"));
    return html;
}

}  // namespace vellumo::datagen
