#pragma once

// INI text read the way the platform's profile functions read it: section and key names match
// without regard to case, the first section and the first key of a name win, a missing key reads
// as the empty text, and values are trimmed of white space and of one pair of enclosing quotes.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace vellumo {

class IniFile {
public:
    // Parses decoded text.
    static IniFile fromText(const QString& text);
    // Parses GBK bytes.
    static IniFile fromGbk(const QByteArray& bytes);
    // Reads a GBK file; throws FileError when it cannot be read.
    static IniFile read(const QString& path);

    QString value(QStringView section, QStringView key) const;
    bool hasKey(QStringView section, QStringView key) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
    };
    const Entry* find(QStringView section, QStringView key) const;

    QVector<Section> sections_;
};

}  // namespace vellumo
