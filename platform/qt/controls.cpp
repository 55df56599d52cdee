#include "platform/qt/controls.h"

#include <QPainter>

#include "platform/framework/bitmap_button.h"

namespace sif::qt {
namespace {

QImage Decode(const ButtonBitmaps::Picture& picture) {
    if (picture.data == nullptr)
        return {};
    return QImage::fromData(picture.data, static_cast<int>(picture.size), "BMP");
}

}  // namespace

OwnerDrawButton::OwnerDrawButton(QWidget* parent) : QAbstractButton(parent) {}

void OwnerDrawButton::SetPictures(const ButtonBitmaps& bitmaps) {
    up_ = Decode(bitmaps.up);
    down_ = Decode(bitmaps.down);
    focus_ = Decode(bitmaps.focus);
    disabled_ = Decode(bitmaps.disabled);
    update();
}

const QImage* OwnerDrawButton::CurrentPicture() const {
    switch (ChooseButtonPicture(isDown(), hasFocus(), !isEnabled(), !down_.isNull(),
                                !focus_.isNull(), !disabled_.isNull())) {
        case ButtonPicture::Down:
            return &down_;
        case ButtonPicture::Focus:
            return &focus_;
        case ButtonPicture::Disabled:
            return &disabled_;
        case ButtonPicture::Up:
            break;
    }
    return up_.isNull() ? nullptr : &up_;
}

void OwnerDrawButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    if (const QImage* picture = CurrentPicture()) {
        // One bitmap pixel per logical pixel, from the top-left, cut to the
        // button: never stretched to the button's size.
        painter.drawImage(QPoint(0, 0), *picture);
    }
}

}  // namespace sif::qt
