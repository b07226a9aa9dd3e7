#include "catalogue/combined_template.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue/ini_file.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"

namespace vellumo {

namespace {

bool toDecimal(QStringView text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok, 10);
    return ok;
}

// Throws a bare Error carrying only the reason; the file-level reader names the file.
CombinedTemplate fromIni(const IniFile& ini) {
    using namespace combined_keys;
    CombinedTemplate result;
    const QString countText = ini.value(kSection, kCount);
    if (!toDecimal(countText, result.count)) {
        throw Error(texts::kCombinedCountNotNumber.arg(countText));
    }
    for (int n = 1; n <= result.count; ++n) {
        const QString entry = ini.value(kSection, kEntryPrefix + QString::number(n));
        try {
            result.members.append(parseCombinedTemplateMember(entry));
        } catch (const Error&) {
            throw Error(texts::kCombinedEntryMalformed.arg(n).arg(entry));
        }
    }
    return result;
}

}  // namespace

int CombinedTemplate::landscapeTotal() const {
    int total = 0;
    for (const CombinedTemplateMember& m : members) {
        total += m.landscapeCount;
    }
    return total;
}

int CombinedTemplate::portraitTotal() const {
    int total = 0;
    for (const CombinedTemplateMember& m : members) {
        total += m.portraitCount;
    }
    return total;
}

CombinedTemplateMember parseCombinedTemplateMember(const QString& entry) {
    const qsizetype first = entry.indexOf(u'~');
    const qsizetype second = first < 0 ? -1 : entry.indexOf(u'~', first + 1);
    const qsizetype third = second < 0 ? -1 : entry.indexOf(u'~', second + 1);
    CombinedTemplateMember member;
    if (third < 0 ||
        !toDecimal(QStringView(entry).mid(first + 1, second - first - 1), member.landscapeCount) ||
        !toDecimal(QStringView(entry).mid(second + 1, third - second - 1), member.portraitCount)) {
        throw Error(texts::kCombinedEntryMalformed.arg(0).arg(entry));
    }
    member.name = entry.left(first);
    member.landscapeText = entry.mid(first + 1, second - first - 1);
    member.portraitText = entry.mid(second + 1, third - second - 1);
    return member;
}

bool CombinedTemplateMember::names(const QString& templateName, int landscapeSlots,
                                   int portraitSlots) const {
    return name == templateName && landscapeText == QString::number(landscapeSlots) &&
           portraitText == QString::number(portraitSlots);
}

CombinedTemplate readCombinedTemplate(const QString& file) {
    const QByteArray bytes = readWholeFile(file);
    try {
        return parseCombinedTemplate(bytes);
    } catch (const FileError&) {
        throw;
    } catch (const Error& e) {
        throw FileError(file, e.message());
    }
}

CombinedTemplate parseCombinedTemplate(const QByteArray& gbkText) {
    return fromIni(IniFile::fromGbk(gbkText));
}

}  // namespace vellumo
