#pragma once

#include "testenvironment.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <ui/clock.h>
#include <ui/interaction.h>

namespace testing_support {

// Answers every question the program asks and records what it showed.
class FakeInteraction final : public quorbel::Interaction
{
public:
    struct Shown
    {
        enum class Kind { Message, Input, File, Dialog, Error, Progress, Help } kind;
        QString text; // message text (LF CR kept), input prompt, file filter, dialog title, help URL
        quorbel::MsgIcon icon = quorbel::MsgIcon::None;
        int buttons = 0;
        QString caption; // input box caption; the directory a file chooser opens in
    };

    QList<Shown> shown;

    // Queued answers, taken in order. Without one queued: messages answer the first
    // button offered among Ok, Yes; inputs answer their initial text; files answer
    // cancel; dialogs are rejected.
    std::deque<quorbel::MsgButton> messageAnswers;
    std::deque<QString> inputAnswers;
    std::deque<QString> fileAnswers;
    // A dialog answer may work the dialog's controls before it returns a result.
    std::deque<std::function<int(QDialog&)>> dialogAnswers;

    // A progress window answers "cancelled" from this many reports on (-1: never);
    // every report is recorded in progressReports as done, total.
    int cancelProgressAt = -1;
    QList<std::pair<qint64, qint64>> progressReports;

    // Runs when a message is actually shown (a message put off until the end of a
    // change only then), before it is recorded; tests look at the tables here.
    std::function<void(const quorbel::Message&)> onMessage;

    // Whether a help page "opens" in the browser (recorded either way).
    bool helpOpens = true;

    // Texts of everything shown of one kind, in order.
    QStringList messages() const;
    QStringList errors() const;
    QStringList helpUrls() const;
    void clear() { shown.clear(); }

protected:
    quorbel::MsgButton showMessage(const quorbel::Message& msg) override;
    QString showInputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    QString showFileChooser(const QString& filter, const QString& directory) override;
    // Takes its answer from fileAnswers too and records the suggested name as caption.
    QString showSaveFileChooser(const QString& filter, const QString& suggestedName) override;
    int showDialog(QDialog& dialog) override;
    void showErrorDialog(const QString& text) override;
    // Directories are answered from fileAnswers too; the caption is recorded as text.
    QString showDirectoryChooser(const QString& caption, const QString& directory) override;
    std::unique_ptr<Progress> showProgress(const QString& caption, const QString& label) override;
    bool showHelp(const QUrl& url) override;
};

class FixedClock final : public quorbel::Clock
{
public:
    QDateTime current = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0));
    QDateTime now() const override { return current; }
};

} // namespace testing_support
