// Qt widgets for the dialog controls whose Windows behaviour the stock
// widgets lack.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QRadioButton>

#include "platform/framework/window_backend.h"

namespace sif::qt {

// An owner-drawn push button that shows its up, down, focus or disabled
// picture unscaled from its top-left corner, cut to its size.
class OwnerDrawButton : public QAbstractButton {
  public:
    explicit OwnerDrawButton(QWidget* parent);
    void SetPictures(const ButtonBitmaps& bitmaps);
    // The picture currently shown; null when none is loaded.
    const QImage* CurrentPicture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage up_, down_, focus_, disabled_;
};

// A check box or radio button whose mark only the program sets: a click just
// notifies.
class ManualCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override {}
};

class ManualRadioButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void nextCheckState() override {}
};

}  // namespace sif::qt
