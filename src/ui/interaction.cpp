#include "interaction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>
#include <store/changes.h>
#include <store/error.h>

namespace quorbel {

Interaction::~Interaction() = default;

void Interaction::refuseDuringChange(const QString& what)
{
    throw store::EngineError(
        QStringLiteral("%1 ist während einer Änderung der Tabellen nicht möglich.").arg(what));
}

MsgButton Interaction::message(const Message& msg)
{
    if (store::changeOpen()) {
        if (msg.buttons & (Yes | No | Cancel))
            refuseDuringChange(QStringLiteral("Eine Rückfrage"));
        store::afterChange([this, msg] { showMessage(msg); });
        return Ok;
    }
    return showMessage(msg);
}

QString Interaction::inputBox(const QString& caption, const QString& prompt, const QString& initial)
{
    if (store::changeOpen())
        refuseDuringChange(QStringLiteral("Eine Eingabe"));
    return showInputBox(caption, prompt, initial);
}

QString Interaction::chooseFile(const QString& filter, const QString& directory)
{
    if (store::changeOpen())
        refuseDuringChange(QStringLiteral("Eine Dateiauswahl"));
    return showFileChooser(filter, directory);
}

QString Interaction::chooseSaveFile(const QString& filter, const QString& suggestedName)
{
    if (store::changeOpen())
        refuseDuringChange(QStringLiteral("Eine Dateiauswahl"));
    return showSaveFileChooser(filter, suggestedName);
}

QString Interaction::chooseDirectory(const QString& caption, const QString& directory)
{
    if (store::changeOpen())
        refuseDuringChange(QStringLiteral("Eine Verzeichnisauswahl"));
    return showDirectoryChooser(caption, directory);
}

Interaction::Progress::~Progress() = default;

std::unique_ptr<Interaction::Progress> Interaction::progress(const QString& caption, const QString& label)
{
    if (store::changeOpen())
        refuseDuringChange(QStringLiteral("Eine Fortschrittsanzeige"));
    return showProgress(caption, label);
}

QString Interaction::showDirectoryChooser(const QString&, const QString&)
{
    return {};
}

namespace {
struct NoProgress final : Interaction::Progress
{
    bool setValue(qint64, qint64) override { return true; }
};

class DialogProgress final : public Interaction::Progress
{
public:
    DialogProgress(QWidget* parent, const QString& caption, const QString& label)
        : m_dialog(label, QStringLiteral("Abbrechen"), 0, 1000, parent)
    {
        m_dialog.setObjectName(QStringLiteral("Fortschritt"));
        m_dialog.setAccessibleName(caption);
        m_dialog.setWindowTitle(caption);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(400);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setValue(0);
    }
    bool setValue(qint64 done, qint64 total) override
    {
        // A modal progress dialog lets the events through, so Cancel is seen here.
        m_dialog.setValue(total > 0 ? int(done * 1000 / total) : 1000);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};
} // namespace

std::unique_ptr<Interaction::Progress> Interaction::showProgress(const QString&, const QString&)
{
    return std::make_unique<NoProgress>();
}

int Interaction::exec(QDialog& dialog)
{
    if (store::changeOpen())
        refuseDuringChange(QStringLiteral("Ein Dialog"));
    return showDialog(dialog);
}

void Interaction::showError(const QString& text)
{
    // An error stays worth telling when its change is taken back.
    store::afterChange([this, text] { showErrorDialog(text); }, store::OnRollback::Run);
}

bool Interaction::openHelp(const QUrl& url)
{
    return showHelp(url);
}

bool Interaction::showHelp(const QUrl&)
{
    return false;
}

QtInteraction::QtInteraction(QWidget* parentWindow) : m_parent(parentWindow) {}

QString QtInteraction::displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return shown;
}

QString QtInteraction::qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The description already names the patterns in most filters; Qt takes the
        // patterns from the parentheses, so give it the patterns explicitly.
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts.at(i);
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0)
            description = description.left(paren).trimmed();
        names << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return names.join(QStringLiteral(";;"));
}

MsgButton QtInteraction::showMessage(const Message& msg)
{
    QMessageBox box(m_parent);
    switch (msg.icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        box.setWindowTitle(QApplication::applicationDisplayName());
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Information"));
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Warnung"));
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QStringLiteral("Fehler"));
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("Bestätigen"));
        break;
    }
    box.setText(displayText(msg.text));
    QMessageBox::StandardButtons buttons;
    if (msg.buttons & Ok)
        buttons |= QMessageBox::Ok;
    if (msg.buttons & Yes)
        buttons |= QMessageBox::Yes;
    if (msg.buttons & No)
        buttons |= QMessageBox::No;
    if (msg.buttons & Cancel)
        buttons |= QMessageBox::Cancel;
    box.setStandardButtons(buttons);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Cancel:
        return Cancel;
    case QMessageBox::Ok:
        return Ok;
    default:
        // Closed with Escape or the title bar: the weakest answer offered.
        if (msg.buttons & Cancel)
            return Cancel;
        if (msg.buttons & No)
            return No;
        return Ok;
    }
}

QString QtInteraction::showInputBox(const QString& caption, const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? text : initial;
}

QString QtInteraction::showFileChooser(const QString& filter, const QString& directory)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), directory, qtNameFilters(filter));
}

QString QtInteraction::showSaveFileChooser(const QString& filter, const QString& suggestedName)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), suggestedName, qtNameFilters(filter));
}

int QtInteraction::showDialog(QDialog& dialog)
{
    return dialog.exec();
}

QString QtInteraction::showDirectoryChooser(const QString& caption, const QString& directory)
{
    return QFileDialog::getExistingDirectory(m_parent, caption, directory);
}

std::unique_ptr<Interaction::Progress> QtInteraction::showProgress(const QString& caption,
                                                                   const QString& label)
{
    return std::make_unique<DialogProgress>(m_parent, caption, label);
}

void QtInteraction::showErrorDialog(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), displayText(text),
                    QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtInteraction::showHelp(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace quorbel
