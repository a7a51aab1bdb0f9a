#pragma once

#include <QString>

#include "text/text.h"

// The core's text and Qt's meet here.
inline QString ToQString(TextView text) { return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())); }
inline Text ToText(const QString& text) { return text.toStdU32String(); }
