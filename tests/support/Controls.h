#pragma once

// Finds a window's control by its resource name, or stops the test binary:
// a missing control is a broken layout, not a failed expectation.

#include <QObject>
#include <QString>

namespace cofferon::test {

template <typename T>
T* child(const QObject* owner, const char* name)
{
    T* found = owner->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

}  // namespace cofferon::test
