// The integer Tag a control carries, so that one dialog handler can serve several controls of
// one kind and tell them apart.
#pragma once

#include <QObject>
#include <QVariant>

inline void setTag(QObject* control, int tag) {
  control->setProperty("Tag", tag);
}

// 0 for a control without a tag.
inline int tagOf(const QObject* control) {
  return control->property("Tag").toInt();
}
