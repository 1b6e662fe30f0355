#pragma once

#include "interaction.h"

#include <QObject>
#include <exception>
#include <utility>

namespace quorbel {

// Reports a failure that no handler caught through the default error dialog. An engine
// or file error shows its own message; anything else shows unerwarteterFehlerText(),
// and its detail goes to the log (category "quorbel.ui"), not to the user.
void reportUncaught(Interaction& ui, const std::exception_ptr& failure);

// The German text of an unexpected failure, naming the log file when there is one.
QString unerwarteterFehlerText();

// Runs a handler so that no exception leaves it: an engine or file error ends the
// handler and shows its message in the default error dialog, and the program goes on.
template <typename F> void guarded(Interaction& ui, F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        reportUncaught(ui, std::current_exception());
    }
}

// Connects a signal to a handler through guarded(); use it wherever a control is
// wired to its handler.
template <typename Sender, typename Signal, typename F>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QObject* context, Interaction& ui,
                                       F handler)
{
    return QObject::connect(sender, signal, context, [&ui, handler](auto&&... args) {
        guarded(ui, [&] { handler(std::forward<decltype(args)>(args)...); });
    });
}

} // namespace quorbel
