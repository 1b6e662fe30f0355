#pragma once

#include <QString>
#include <memory>

class QUrl;

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
//
// Nothing waits for a person while a change of the tables is under way (see
// store::changeOpen()): a message with only an OK button and the default error
// dialog are shown right after the change has ended, and a question, input box,
// file chooser or dialog asked meanwhile is refused with an EngineError.
class Interaction
{
public:
    virtual ~Interaction();

    // Shows a message box and returns the button that was pressed (Ok at once for a
    // message put off until the change has ended).
    MsgButton message(const Message& msg);

    // The single-line input box: returns the typed text, or `initial` when cancelled.
    QString inputBox(const QString& caption, const QString& prompt, const QString& initial);

    // A file-open dialog. `filter` is written as "Beschreibung (*.x)|*.x|..."; the file must exist.
    // Returns the chosen file's full path, or an empty string when cancelled.
    QString chooseFile(const QString& filter, const QString& directory);

    // A file-save dialog with the same filter form, offering `suggestedName`; an existing
    // file is only chosen after the person agreed to replace it. Returns the full path,
    // or an empty string when cancelled.
    QString chooseSaveFile(const QString& filter, const QString& suggestedName);

    // A directory chooser starting at `directory`. Returns the chosen directory's full
    // path, or an empty string when cancelled.
    QString chooseDirectory(const QString& caption, const QString& directory);

    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    int exec(QDialog& dialog);

    // A progress window with a "Abbrechen" button for long work; it appears only when
    // the work takes a while. Told how far the work is, it answers false once the
    // person cancelled. Gone when the object is destroyed.
    class Progress
    {
    public:
        virtual ~Progress();
        virtual bool setValue(qint64 done, qint64 total) = 0;
    };
    std::unique_ptr<Progress> progress(const QString& caption, const QString& label);

    // The application's default error dialog: an engine or file error that no handler caught.
    void showError(const QString& text);

    // Opens a page of the handbook in the person's browser; false when none could show it.
    // Nothing waits for the browser, so this is allowed during a change of the tables too.
    bool openHelp(const QUrl& url);

    // Convenience for the common message forms.
    void error(const QString& text) { message({text, MsgIcon::Error, Ok}); }
    void information(const QString& text) { message({text, MsgIcon::Information, Ok}); }
    void warning(const QString& text) { message({text, MsgIcon::Warning, Ok}); }
    bool askYesNo(const QString& text, MsgIcon icon = MsgIcon::Question)
    {
        return message({text, icon, Yes | No}) == Yes;
    }

protected:
    // The implementations, called when the person can be asked.
    virtual MsgButton showMessage(const Message& msg) = 0;
    virtual QString showInputBox(const QString& caption, const QString& prompt, const QString& initial) = 0;
    virtual QString showFileChooser(const QString& filter, const QString& directory) = 0;
    virtual QString showSaveFileChooser(const QString& filter, const QString& suggestedName) = 0;
    virtual int showDialog(QDialog& dialog) = 0;
    virtual void showErrorDialog(const QString& text) = 0;
    // Without an implementation of their own: no directory, and work that runs to its end.
    virtual QString showDirectoryChooser(const QString& caption, const QString& directory);
    virtual std::unique_ptr<Progress> showProgress(const QString& caption, const QString& label);
    // Without an implementation of its own: no browser.
    virtual bool showHelp(const QUrl& url);

private:
    static void refuseDuringChange(const QString& what);
};

// The real thing, on Qt's widgets.
class QtInteraction final : public Interaction
{
public:
    explicit QtInteraction(QWidget* parentWindow = nullptr);
    void setParentWindow(QWidget* w) { m_parent = w; }

    // The program writes message lines joined by LF then CR; a message box wants one LF.
    static QString displayText(const QString& text);
    // "Videolisten (*.qbx)|*.qbx" -> "Videolisten (*.qbx)" as Qt's name filters.
    static QString qtNameFilters(const QString& filter);

protected:
    MsgButton showMessage(const Message& msg) override;
    QString showInputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    QString showFileChooser(const QString& filter, const QString& directory) override;
    QString showSaveFileChooser(const QString& filter, const QString& suggestedName) override;
    int showDialog(QDialog& dialog) override;
    void showErrorDialog(const QString& text) override;
    QString showDirectoryChooser(const QString& caption, const QString& directory) override;
    std::unique_ptr<Progress> showProgress(const QString& caption, const QString& label) override;
    bool showHelp(const QUrl& url) override;

private:
    QWidget* m_parent;
};

// The line break that joins the lines of a message.
inline const QString kMessageBreak = QStringLiteral("\n\r");

} // namespace quorbel
