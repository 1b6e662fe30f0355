#pragma once

// The modal preview of a report, from which the person prints it, sets the page up or
// saves it as a PDF file.

#include "reportpainter.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QToolButton;

namespace quorbel {

class Interaction;

class ReportPreview final : public QDialog
{
    Q_OBJECT
public:
    // `titel` is the window's caption and the name offered for the PDF file.
    ReportPreview(Interaction& interaction, report::Seitenfolge folge, const QString& titel,
                  QWidget* parent = nullptr);
    ~ReportPreview() override;

    QPrinter& drucker() { return *m_drucker; }
    // The pages shown, for a look at what will be printed.
    const report::Seitenfolge& seiten() const { return m_folge; }

    void Drucken();
    void Seite_Einrichten();
    void Als_Pdf_Speichern();

private:
    void Seitenanzeige_Aktualisieren();
    // Says so and answers true when the report has no page.
    bool ohneSeiten();

    Interaction& m_interaction;
    report::Seitenfolge m_folge;
    QString m_titel;
    std::unique_ptr<QPrinter> m_drucker;
    QPrintPreviewWidget* m_vorschau = nullptr;
    QLabel* m_seite = nullptr;
};

// Shows the report in the preview and returns when the preview is closed.
void vorschauZeigen(Interaction& interaction, report::Seitenfolge folge, const QString& titel,
                    QWidget* parent = nullptr);

} // namespace quorbel
