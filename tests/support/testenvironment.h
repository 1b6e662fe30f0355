#pragma once

// What every test needs, also the ones below the widgets: scratch directories and the
// pinned locale. Qt Core only.

#include <QString>

namespace testing_support {

// A fresh empty directory below the test's scratch space.
QString freshDir(const QString& name);

// Pins the German locale and the test environment; call first in main().
void initTestEnvironment();

} // namespace testing_support
