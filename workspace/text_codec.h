#pragma once

// The data files the system reads (parameter files, combined templates, lyrics) are in GBK, the
// Chinese code page of the platform the system was first written for.

#include <QByteArray>
#include <QString>

namespace vellumo {

QString fromGbk(const QByteArray& bytes);
QByteArray toGbk(const QString& text);

}  // namespace vellumo
