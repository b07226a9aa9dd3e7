#pragma once

// The template catalogue, built once at start-up from the installed packages: the parameter
// list (one record per template, found by catalogue index), the three class lists and the
// catalogue list the template manager shows and placement takes templates from.

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

namespace vellumo {

// Class marks given by classification.
namespace class_marks {
inline const QString kLandscape = QStringLiteral("heng");
inline const QString kPortrait = QStringLiteral("shu");
inline const QString kEither = QStringLiteral("shuheng");
inline const QString kAdvanced = QStringLiteral("gaojimoban");
}  // namespace class_marks

// The largest picture width or height a parameter file may give, in pixels (four reference
// frames wide); 0 means the movie fixes no size.
inline constexpr int kMaxParameterPictureSide = 7680;

// One row of the catalogue parameter list. The picture lists are split and their numbers read
// once, when the parameter file is loaded.
struct CatalogueRecord {
    QString typeText;             // mblx
    QString classText;            // mbfl
    QString photoCountText;       // xpsl
    QStringList pictureNames;     // xpjpgmc: the pictures the movie shows, in list order
    QVector<int> pictureWidths;   // xpkd: one per picture name, 0 to kMaxParameterPictureSide
    QVector<int> pictureHeights;  // xpgd
    QStringList orientations;     // szhz: heng, shu or shuheng, per picture
    QString packagePath;          // the template package of the same name
    QString classMark;            // "", heng, shu, shuheng or gaojimoban
    int catalogueIndex = 0;       // equals the record's row
    int frames = 0;               // mbdx
    QString name;
    QString allPhotos;  // sl

    // The size the template gives picture k; 0 × 0 when it gives none (staging sizes it).
    QSize pictureSize(qsizetype k) const {
        return QSize(pictureWidths.value(k), pictureHeights.value(k));
    }
};

// One row of a class list: the record it belongs to and its slot counts in that list.
struct ClassListRow {
    int catalogueIndex = 0;
    int landscapeSlots = 0;
    int portraitSlots = 0;
};

enum class TemplateKind { Advanced, Single };
enum class TemplateClass { Combined, LandscapeSingle, PortraitSingle };

QString kindText(TemplateKind kind);   // "高级模板" / "单张模板"
QString classText(TemplateClass cls);  // "综合模板" / "横照模板" / "竖照模板"

// What the album knows of a template: one entry of the catalogue list, and what a used template
// and each of its slots refer to.
struct TemplateInfo {
    int catalogueIndex = 0;
    QString name;
    TemplateKind kind = TemplateKind::Single;
    int landscapeSlots = 0;
    int portraitSlots = 0;
    QString duration;  // hh:mm:ss
    TemplateClass templateClass = TemplateClass::LandscapeSingle;
};
using CatalogueEntry = TemplateInfo;

// One template-information record shared, unchanged, by a used template and its slots; never
// empty (a default one refers to a default record).
class TemplateRef {
public:
    TemplateRef();
    explicit TemplateRef(const TemplateInfo& info)
        : info_(std::make_shared<const TemplateInfo>(info)) {}
    const TemplateInfo& operator*() const { return *info_; }
    const TemplateInfo* operator->() const { return info_.get(); }
    // True when both refer to the very same record.
    bool sameRecord(const TemplateRef& other) const { return info_ == other.info_; }

private:
    std::shared_ptr<const TemplateInfo> info_;
};

// A template that could not be taken into the catalogue, and why.
struct LeftOutTemplate {
    QString package;  // the package that failed, parameter or template
    QString reason;
};

// frames × 0.04 s, truncated to whole seconds, as hh:mm:ss (at least two digits each).
QString durationText(int frames);

class Catalogue {
public:
    // Removes and re-creates the unpack folder and finds both kinds of packages, the installed
    // ones first, then the user's (each kind of the user's tree after its installed kind), and
    // pairs each parameter package with the template package of the same name (its path below
    // the kind's folder, without the extension) in the same tree. False when either kind is
    // missing: the program cannot run without templates.
    bool scanPackages();
    // Unpacks and reads every parameter package that has a template package of its name; tick
    // runs once per parameter package. A package without a partner (of either kind), one that
    // cannot be unpacked or read, or whose numbers are not numbers, is left out alone and
    // listed in leftOut(). Throws Error when the unpack folder cannot be written.
    void readParameters(const std::function<void()>& tick = {});
    void classify();
    void countSlots();
    void fillCatalogueList();
    // All five steps; false when scanPackages() found nothing to load. Throws Error when the
    // unpack folder cannot be written.
    bool build(const std::function<void()>& tick = {});

    // Builds the catalogue from records already read (tests and tools).
    void setRecords(QVector<CatalogueRecord> records);

    const QStringList& parameterPackages() const { return parameterPackages_; }
    const QStringList& templatePackages() const { return templatePackages_; }
    const QVector<CatalogueRecord>& records() const { return records_; }
    const CatalogueRecord& record(int catalogueIndex) const { return records_.at(catalogueIndex); }
    const QVector<ClassListRow>& landscapeSingles() const { return landscapeSingles_; }
    const QVector<ClassListRow>& portraitSingles() const { return portraitSingles_; }
    const QVector<ClassListRow>& advancedTemplates() const { return advanced_; }
    const QVector<CatalogueEntry>& entries() const { return entries_; }
    const QVector<LeftOutTemplate>& leftOut() const { return leftOut_; }
    // One line per template left out: its package (below the program folder or the working
    // root) and the reason.
    QStringList leftOutLines() const;
    // The one message telling the user which templates were left out and why; empty when none.
    QString leftOutMessage() const;

private:
    QStringList parameterPackages_;
    QStringList templatePackages_;
    // The template package each parameter package is paired with, -1 for none.
    QVector<qsizetype> pairedTemplates_;
    // Template packages no parameter package names.
    QStringList strayTemplates_;
    QVector<CatalogueRecord> records_;
    QVector<ClassListRow> landscapeSingles_;
    QVector<ClassListRow> portraitSingles_;
    QVector<ClassListRow> advanced_;
    QVector<CatalogueEntry> entries_;
    QVector<LeftOutTemplate> leftOut_;
};

// Reads one unpacked parameter file's text into a record, reading its numbers (frames, and the
// width and height of every picture) and checking them. Throws Error with the reason when the
// file cannot be used.
CatalogueRecord catalogueRecordFromParameters(const QByteArray& gbkText);

}  // namespace vellumo
