#pragma once

// The log file: warnings and errors of every category, one line each, appended to a
// file in the user's state directory. The file is kept below a bounded size: when the
// next line would take it over, it becomes the one old file ("<name>.1", replacing the
// one before) and a new file is begun.

#include <QLoggingCategory>
#include <QMutex>
#include <QString>

namespace quorbel {

Q_DECLARE_LOGGING_CATEGORY(lcApp) // "quorbel.app"

class Protokolldatei
{
public:
    static constexpr qint64 kGrenze = 1 << 20; // 1 MiB

    explicit Protokolldatei(QString pfad, qint64 grenze = kGrenze);

    // Where the program writes its log: "quorbel98/quorbel98.log" in the user's state
    // directory ($XDG_STATE_HOME, else ~/.local/state), or in the application's local
    // data directory where the system has no such directory.
    static QString standardPfad();

    QString pfad() const { return m_pfad; }
    QString altePfad() const { return m_pfad + QStringLiteral(".1"); }

    // Appends the message when it is a warning or worse. False when the file cannot be
    // written (the message is then only on the standard error).
    bool schreiben(QtMsgType typ, const QMessageLogContext& kontext, const QString& text);

    // Makes this file the target of every message from now on (the messages still reach
    // the handler that was installed before) and tells the error dialog where it is.
    // The object must outlive the installation; the destructor takes it back.
    void installieren();
    ~Protokolldatei();

    Protokolldatei(const Protokolldatei&) = delete;
    Protokolldatei& operator=(const Protokolldatei&) = delete;

private:
    static void handler(QtMsgType typ, const QMessageLogContext& kontext, const QString& text);

    QString m_pfad;
    qint64 m_grenze;
    QMutex m_mutex;
    bool m_installiert = false;
};

} // namespace quorbel
