#pragma once

#include <QAbstractButton>
#include <QByteArray>
#include <QObject>

// Finds a control by its objectName; a missing control ends the test at once with its name.
template<typename T> T *child(const QObject &parent, const QByteArray &name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name.constData());
    return found;
}

inline void click(const QObject &parent, const QByteArray &name)
{
    child<QAbstractButton>(parent, name)->click();
}
