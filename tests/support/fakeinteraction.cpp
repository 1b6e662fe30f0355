#include "fakeinteraction.h"

#include <QUrl>
#include <QtGlobal>

namespace testing_support {

quorbel::MsgButton FakeInteraction::showMessage(const quorbel::Message& msg)
{
    if (onMessage)
        onMessage(msg);
    shown.append({Shown::Kind::Message, msg.text, msg.icon, msg.buttons, {}});
    if (!messageAnswers.empty()) {
        const auto answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    if (msg.buttons & quorbel::Ok)
        return quorbel::Ok;
    if (msg.buttons & quorbel::Yes)
        return quorbel::Yes;
    return quorbel::NoButton;
}

QString FakeInteraction::showInputBox(const QString& caption, const QString& prompt, const QString& initial)
{
    shown.append({Shown::Kind::Input, prompt, quorbel::MsgIcon::None, 0, caption});
    if (!inputAnswers.empty()) {
        QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    return initial;
}

QString FakeInteraction::showFileChooser(const QString& filter, const QString& directory)
{
    shown.append({Shown::Kind::File, filter, quorbel::MsgIcon::None, 0, directory});
    if (!fileAnswers.empty()) {
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    return {};
}

QString FakeInteraction::showSaveFileChooser(const QString& filter, const QString& suggestedName)
{
    shown.append({Shown::Kind::File, filter, quorbel::MsgIcon::None, 0, suggestedName});
    if (!fileAnswers.empty()) {
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    return {};
}

int FakeInteraction::showDialog(QDialog& dialog)
{
    shown.append({Shown::Kind::Dialog, dialog.windowTitle(), quorbel::MsgIcon::None, 0, {}});
    if (!dialogAnswers.empty()) {
        auto answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        return answer(dialog);
    }
    return QDialog::Rejected;
}

void FakeInteraction::showErrorDialog(const QString& text)
{
    shown.append({Shown::Kind::Error, text, quorbel::MsgIcon::Error, quorbel::Ok, {}});
}

QString FakeInteraction::showDirectoryChooser(const QString& caption, const QString& directory)
{
    shown.append({Shown::Kind::File, caption, quorbel::MsgIcon::None, 0, directory});
    if (!fileAnswers.empty()) {
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    return {};
}

std::unique_ptr<quorbel::Interaction::Progress> FakeInteraction::showProgress(const QString& caption,
                                                                              const QString& label)
{
    shown.append({Shown::Kind::Progress, label, quorbel::MsgIcon::None, 0, caption});
    struct Recorder final : Progress
    {
        FakeInteraction& fake;
        explicit Recorder(FakeInteraction& f) : fake(f) {}
        bool setValue(qint64 done, qint64 total) override
        {
            fake.progressReports.append({done, total});
            return fake.cancelProgressAt < 0 || fake.progressReports.size() < fake.cancelProgressAt;
        }
    };
    return std::make_unique<Recorder>(*this);
}

bool FakeInteraction::showHelp(const QUrl& url)
{
    shown.append({Shown::Kind::Help, url.toString(), quorbel::MsgIcon::None, 0, {}});
    return helpOpens;
}

QStringList FakeInteraction::helpUrls() const
{
    QStringList out;
    for (const auto& s : shown)
        if (s.kind == Shown::Kind::Help)
            out << s.text;
    return out;
}

QStringList FakeInteraction::messages() const
{
    QStringList out;
    for (const auto& s : shown)
        if (s.kind == Shown::Kind::Message)
            out << s.text;
    return out;
}

QStringList FakeInteraction::errors() const
{
    QStringList out;
    for (const auto& s : shown)
        if (s.kind == Shown::Kind::Error)
            out << s.text;
    return out;
}

} // namespace testing_support
