#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace quorbel {

enum class MsgIcon { None, Information, Warning, Error, Question };

// Buttons of a message box; combine with |. The answer is one of them.
enum MsgButton : int { NoButton = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8 };

struct Message
{
    QString text; // lines joined by LF then CR, as the program writes them
    MsgIcon icon = MsgIcon::None;
    int buttons = Ok;
};

// Everything that waits for a person passes through here: message boxes, input
// boxes, file choosers, modal dialogs and the default error dialog. The program
// uses QtInteraction; tests put in an object that answers and records instead.
class Interaction
{
public:
    virtual ~Interaction();

    // Shows a message box and returns the button that was pressed.
    virtual MsgButton message(const Message& msg) = 0;

    // The single-line input box: returns the typed text, or `initial` when cancelled.
    virtual QString inputBox(const QString& caption, const QString& prompt, const QString& initial) = 0;

    // A file-open dialog. `filter` is written as "Beschreibung (*.x)|*.x|..."; the file must exist.
    // Returns the chosen file's full path, or an empty string when cancelled.
    virtual QString chooseFile(const QString& filter, const QString& directory) = 0;

    // A file-save dialog with the same filter form, offering `suggestedName`; an existing
    // file is only chosen after the person agreed to replace it. Returns the full path,
    // or an empty string when cancelled.
    virtual QString chooseSaveFile(const QString& filter, const QString& suggestedName) = 0;

    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog& dialog) = 0;

    // The application's default error dialog: an engine or file error that no handler caught.
    virtual void showError(const QString& text) = 0;

    // Convenience for the common message forms.
    void error(const QString& text) { message({text, MsgIcon::Error, Ok}); }
    void information(const QString& text) { message({text, MsgIcon::Information, Ok}); }
    void warning(const QString& text) { message({text, MsgIcon::Warning, Ok}); }
    bool askYesNo(const QString& text, MsgIcon icon = MsgIcon::Question)
    {
        return message({text, icon, Yes | No}) == Yes;
    }
};

// The real thing, on Qt's widgets.
class QtInteraction final : public Interaction
{
public:
    explicit QtInteraction(QWidget* parentWindow = nullptr);
    void setParentWindow(QWidget* w) { m_parent = w; }

    MsgButton message(const Message& msg) override;
    QString inputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    QString chooseFile(const QString& filter, const QString& directory) override;
    QString chooseSaveFile(const QString& filter, const QString& suggestedName) override;
    int exec(QDialog& dialog) override;
    void showError(const QString& text) override;

    // The program writes message lines joined by LF then CR; a message box wants one LF.
    static QString displayText(const QString& text);
    // "Videolisten (*.qbx)|*.qbx" -> "Videolisten (*.qbx)" as Qt's name filters.
    static QString qtNameFilters(const QString& filter);

private:
    QWidget* m_parent;
};

// The line break that joins the lines of a message.
inline const QString kMessageBreak = QStringLiteral("\n\r");

} // namespace quorbel
