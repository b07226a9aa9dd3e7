#pragma once

// A combined template: a group of catalogue templates used together. Its file (GBK INI) holds
// the member count and one entry per member: name~landscape~portrait~.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace vellumo {

struct CombinedTemplateMember {
    QString name;
    int landscapeCount = 0;
    int portraitCount = 0;
    // The counts as written: a member names a catalogue template only when these equal the
    // template's counts written as text ("02" names no template with 2 slots).
    QString landscapeText;
    QString portraitText;

    bool names(const QString& templateName, int landscapeSlots, int portraitSlots) const;
};

struct CombinedTemplate {
    int count = 0;  // shuliang as read; a negative count has no members
    QVector<CombinedTemplateMember> members;

    int landscapeTotal() const;
    int portraitTotal() const;
};

namespace combined_keys {
inline const QString kSection = QStringLiteral("zuhemoban_canshu");
inline const QString kCount = QStringLiteral("shuliang");
inline const QString kEntryPrefix = QStringLiteral("canshu_");
}  // namespace combined_keys

// Parses one member entry. Throws Error on an entry without three "~" or with counts that are
// not decimal integers.
CombinedTemplateMember parseCombinedTemplateMember(const QString& entry);

// Reads a combined-template file. Throws FileError naming the file when it cannot be read, its
// count is not a decimal integer, or an entry is malformed.
CombinedTemplate readCombinedTemplate(const QString& file);
CombinedTemplate parseCombinedTemplate(const QByteArray& gbkText);

}  // namespace vellumo
