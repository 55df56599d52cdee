// A disabled top-level window as Windows has it: it takes no input but keeps
// painting its controls normally (QWidget::setEnabled would grey them all).
#pragma once

#include <QObject>

class QWidget;

namespace sif::qt {

class InputBlocker : public QObject {
  public:
    InputBlocker();
    ~InputBlocker() override;

    static void SetBlocked(QWidget* window, bool blocked);
    static bool IsBlocked(const QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace sif::qt
