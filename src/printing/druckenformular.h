#pragma once

#include <QWidget>

namespace quorbel {

// Holder of the film list report. Created once at start-up and never shown itself;
// the report is shown in its preview window.
class TDrucken_Formular : public QWidget
{
    Q_OBJECT
public:
    explicit TDrucken_Formular(QWidget* parent = nullptr);
};

} // namespace quorbel
