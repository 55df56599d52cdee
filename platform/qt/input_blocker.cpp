#include "platform/qt/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace sif::qt {
namespace {

constexpr const char* kBlocked = "sifInputBlocked";

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputBlocker::InputBlocker() {
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

void InputBlocker::SetBlocked(QWidget* window, bool blocked) {
    window->setProperty(kBlocked, blocked);
}

bool InputBlocker::IsBlocked(const QWidget* window) {
    return window != nullptr && window->property(kBlocked).toBool();
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || !IsInput(event->type()))
        return false;
    if (!IsBlocked(static_cast<QWidget*>(watched)->window()))
        return false;
    if (event->type() == QEvent::Close)
        event->ignore();
    return true;
}

}  // namespace sif::qt
