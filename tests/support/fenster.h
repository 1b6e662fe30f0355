#pragma once

// Drives the main window as a person would in the steps many window tests share.

#include "fakeinteraction.h"
#include "kind.h"

#include <QAction>
#include <QDialog>
#include <QString>
#include <QTest>
#include <QWidget>
#include <app/neueverwaltung.h>

namespace testing_support {

// Shows the window and makes it the active one, as after start-up.
inline void zeigenUndAktivieren(QWidget& w)
{
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("window not active");
}

// Creates the collection "videos" in `dir` through the "Neu" menu entry, answering the
// new-collection dialog.
inline void neueSammlungAnlegen(QWidget& w, FakeInteraction& ui, const QString& dir)
{
    ui.dialogAnswers.push_back([dir](QDialog& d) {
        auto& dlg = dynamic_cast<quorbel::TForm_NeueVerwaltung&>(d);
        dlg.VerzeichnisBox->setDirectory(dir);
        dlg.Edit_Dateiname->setText(QStringLiteral("videos"));
        dlg.BitBtn1->click();
        return dlg.result();
    });
    kind<QAction>(w, "Neu1")->trigger();
}

} // namespace testing_support
