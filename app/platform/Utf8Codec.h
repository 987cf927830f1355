// The UTF-8 text codec of document files that hold text without a CP932 form. Bytes that are
// not valid UTF-8 are kept as escapes (ByteEscapes.h), so they are written back as they were.
#pragma once

#include <QByteArray>
#include <QString>

QByteArray toUtf8KeepingBytes(const QString& text);
QString fromUtf8KeepingBytes(const QByteArray& bytes);
