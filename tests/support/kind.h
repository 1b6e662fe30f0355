#pragma once

// Reaches a control, dataset or dialog of a window by its objectName (or, for a
// dialog or controller that is the only one of its class, by its class), so that
// tests do not depend on where the window keeps it.

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

namespace testing_support {

inline const QObject* objectOf(const QObject& o)
{
    return &o;
}
inline const QObject* objectOf(const QObject* o)
{
    return o;
}
template <typename P> const QObject* objectOf(const std::unique_ptr<P>& p)
{
    return p.get();
}

template <typename T, typename W> T* kind(const W& window, const char* name = nullptr)
{
    const QObject* o = objectOf(window);
    T* child = name ? o->findChild<T*>(QLatin1String(name)) : o->findChild<T*>();
    if (!child)
        qFatal("'%s' not found", name ? name : "child");
    return child;
}

} // namespace testing_support
