#pragma once

#include <QDir>
#include <fakeinteraction.h>
#include <functional>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <ui/interaction.h>

namespace recordingtest {

// The fake answers; `beiMeldung` runs while a message box is open, before it is answered.
class Beobachter final : public quorbel::Interaction
{
public:
    testing_support::FakeInteraction fake;
    std::function<void(const quorbel::Message&)> beiMeldung;

protected:
    quorbel::MsgButton showMessage(const quorbel::Message& msg) override
    {
        if (beiMeldung)
            beiMeldung(msg);
        return fake.message(msg);
    }
    QString showInputBox(const QString& caption, const QString& prompt, const QString& initial) override
    {
        return fake.inputBox(caption, prompt, initial);
    }
    QString showFileChooser(const QString& filter, const QString& directory) override
    {
        return fake.chooseFile(filter, directory);
    }
    QString showSaveFileChooser(const QString& filter, const QString& suggestedName) override
    {
        return fake.chooseSaveFile(filter, suggestedName);
    }
    int showDialog(QDialog& dialog) override { return fake.exec(dialog); }
    void showErrorDialog(const QString& text) override { fake.showError(text); }
};

// A new collection on disk with the main window's five datasets over it, open.
struct Sammlung
{
    store::Dataset kassetten, filme, uebersicht, verliehen, timer;

    explicit Sammlung(const QString& name)
    {
        const QString dir = testing_support::freshDir(name);
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir);
        store::tables::createCollection(0);
        QDir::setCurrent(old);
        store::tables::configureDatasets(kassetten, filme, uebersicht, verliehen, timer);
        const std::pair<store::Dataset*, const char*> alle[] = {{&kassetten, store::tables::kKassStem},
                                                                {&filme, store::tables::kFilmeStem},
                                                                {&verliehen, store::tables::kAusgeliehenStem},
                                                                {&timer, store::tables::kATimerStem},
                                                                {&uebersicht, store::tables::kFilmeStem}};
        for (const auto& [ds, stem] : alle) {
            ds->setDatabaseName(dir);
            ds->setTableName(store::tables::tableFileName(QLatin1String(stem), 0));
            ds->open();
        }
    }
    ~Sammlung()
    {
        for (store::Dataset* ds : {&uebersicht, &verliehen, &timer, &filme, &kassetten})
            ds->close();
    }
};

} // namespace recordingtest
