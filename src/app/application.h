#pragma once

#include <QApplication>

namespace quorbel {

class Interaction;

// The application object. Every handler catches its own failures where it is
// entered (guard.h); notify() is only the last net for anything that slipped past,
// so that no exception ever crosses Qt's event loop.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    // Where the last net reports; without one a failure is written to stderr.
    void setInteraction(Interaction* ui) { m_ui = ui; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Interaction* m_ui = nullptr;
};

} // namespace quorbel
