#pragma once

#include <QApplication>
#include <QCursor>

namespace quorbel {

// The busy cursor for the lifetime of the object; the normal cursor comes back on
// every way out, also when the work fails with an exception.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace quorbel
