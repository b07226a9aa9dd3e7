#include "catalogue/ini_file.h"

#include "workspace/packed_file.h"
#include "workspace/text_codec.h"

namespace vellumo {

namespace {

bool isProfileSpace(QChar c) {
    return c.isSpace() || c == QChar(0x1A);
}

QStringView trimmed(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isProfileSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isProfileSpace(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

QString unquoted(QStringView value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.mid(1, value.size() - 2).toString();
    }
    return value.toString();
}

}  // namespace

IniFile IniFile::fromText(const QString& text) {
    IniFile ini;
    Section* current = nullptr;
    for (QStringView rawLine : QStringView(text).split(u'\n')) {
        const QStringView line = trimmed(rawLine);
        if (line.isEmpty() || line.front() == u';') {
            continue;
        }
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = trimmed(close < 0 ? line.mid(1) : line.mid(1, close - 1));
            ini.sections_.append(Section{name.toString(), {}});
            current = &ini.sections_.back();
            continue;
        }
        if (current == nullptr) {
            continue;  // Keys before the first section belong to none.
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            current->entries.append(Entry{line.toString(), QString()});
            continue;
        }
        current->entries.append(
            Entry{trimmed(line.left(equals)).toString(), unquoted(trimmed(line.mid(equals + 1)))});
    }
    return ini;
}

IniFile IniFile::fromGbk(const QByteArray& bytes) {
    return fromText(vellumo::fromGbk(bytes));
}

IniFile IniFile::read(const QString& path) {
    return fromGbk(readWholeFile(path));
}

const IniFile::Entry* IniFile::find(QStringView section, QStringView key) const {
    for (const Section& s : sections_) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0) {
            continue;
        }
        for (const Entry& e : s.entries) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
                return &e;
            }
        }
        return nullptr;  // Only the first section of a name is searched.
    }
    return nullptr;
}

QString IniFile::value(QStringView section, QStringView key) const {
    const Entry* entry = find(section, key);
    return entry ? entry->value : QString();
}

bool IniFile::hasKey(QStringView section, QStringView key) const {
    return find(section, key) != nullptr;
}

}  // namespace vellumo
