#pragma once

// A template's parameter file: what pictures its movie wants, in which orientation and at which
// size, how many frames it runs and what it is called. Values are kept as the text the file
// holds; the parts that use a number convert it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vellumo {

namespace parameter_keys {
inline const QString kMainSection = QStringLiteral("1");
inline const QString kNameSection = QStringLiteral("l_x_q_b_x_n_w_j_s_y");
inline const QString kPhotoSection = QStringLiteral("0");
inline const QString kName = QStringLiteral("l_x_q_b_x_n_w_j_s_y_m_c");
}  // namespace parameter_keys

struct TemplateParameters {
    QString mblx;     // template type, carried unchanged
    QString mbfl;     // template class text, carried unchanged
    QString xpsl;     // photo count text, carried unchanged
    QString xpkd;     // picture list of widths in pixels
    QString xpgd;     // picture list of heights in pixels
    QString szhz;     // picture list of orientation codes
    QString xpjpgmc;  // picture list of picture names
    QString mbdx;     // total frames of the movie
    QString name;     // display name, from key l_x_q_b_x_n_w_j_s_y_m_c
    QString sl;       // all photos of the template, carried unchanged
};

// Orientation codes of the szhz list.
namespace orientation_codes {
inline const QString kLandscape = QStringLiteral("heng");
inline const QString kPortrait = QStringLiteral("shu");
inline const QString kEither = QStringLiteral("shuheng");
}  // namespace orientation_codes

// Reads a parameter file (GBK INI). Throws FileError when the file cannot be read.
TemplateParameters readTemplateParameters(const QString& parameterFile);
TemplateParameters parseTemplateParameters(const QByteArray& gbkText);

}  // namespace vellumo
