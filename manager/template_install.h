#pragma once

// Templates a user brings to the program ("添加外部模板文件"): a parameter package and its movie
// package, checked as the catalogue checks installed ones, copied under a free name into the
// user's template tree below the working root, and taken into the catalogue, which is rebuilt.

#include <QString>

namespace vellumo {

class Catalogue;

struct TemplateInstallResult {
    bool installed = false;
    // Told to the user: the template's name when it was added, else why it was refused.
    QString message;
    QString name;
    // Where the copies went (both empty when refused).
    QString parameterPackage;
    QString moviePackage;
};

// The name both copies take: "wj_y_h_" + a four-digit number one past the highest found in
// either folder of the user's tree, + ".rar", so that the pair is found at the same scan position
// in both folders and after every template installed before it.
QString freeUserTemplateName();

// Checks the pair, copies it and rebuilds the catalogue. The catalogue is replaced only when the
// rebuilt one keeps every template where it was and adds the new one after them; when it does
// not, or anything else fails, the copies are removed and the catalogue is left as it was.
TemplateInstallResult installUserTemplate(Catalogue& catalogue, const QString& parameterPackage,
                                          const QString& moviePackage);

}  // namespace vellumo
