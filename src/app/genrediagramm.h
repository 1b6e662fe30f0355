#pragma once

// A horizontal bar chart of films per genre, drawn with QPainter: one bar per genre,
// most films first; what does not fit is summed up in a last bar "übrige".

#include <QWidget>
#include <utility>
#include <vector>

namespace quorbel {

class GenreDiagramm : public QWidget
{
    Q_OBJECT
public:
    using Daten = std::vector<std::pair<QString, qint64>>;
    explicit GenreDiagramm(QWidget* parent = nullptr);
    void setDaten(Daten daten);
    // The bars as drawn at the widget's current height.
    Daten balken() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Daten m_daten;
};

} // namespace quorbel
