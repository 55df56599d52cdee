#include "platform/qt/qt_window_backend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QButtonGroup>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "platform/framework/dialog_font.h"
#include "platform/qt/controls.h"
#include "platform/qt/dialog_palette.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/input_blocker.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/raise_window.h"
#include "platform/resources.h"
#include "platform/window_styles.h"

namespace sif::qt {
namespace {

int LogicalDpi() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    QFontMetrics metrics(font);
    int alphabet = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return BaseUnitsFromFontMetrics(alphabet, metrics.height());
}

// The text a window shows; a static text's with its mnemonic marks.
QString TextOf(HWND window) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr)
        return {};
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (qobject_cast<QLabel*>(widget) != nullptr)
        return ObjectOf(window)->prefixedText;
    return widget->windowTitle();
}

// Every image of an icon resource, so each place takes the size it needs.
QIcon IconOf(const res::BinaryResource* icon) {
    QIcon result;
    if (icon == nullptr)
        return result;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(icon->data),
                                               static_cast<qsizetype>(icon->size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ICO");
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        QImage image = reader.read();
        if (!image.isNull())
            result.addPixmap(QPixmap::fromImage(image));
    }
    return result;
}

QPixmap IconPixmap(int iconId) {
    const res::BinaryResource* icon = FindIconResource(static_cast<unsigned>(iconId));
    if (icon == nullptr)
        return {};
    QImage image = QImage::fromData(icon->data, static_cast<int>(icon->size), "ICO");
    return QPixmap::fromImage(image);
}

}  // namespace

QtWindowBackend::QtWindowBackend()
    : inputBlocker_(std::make_unique<InputBlocker>()),
      // The button face of a light Windows desktop, until the program sets its colours.
      dialogPalette_(LightDialogPalette(QColor(240, 240, 240), Qt::black)),
      // Until a dialog is made: a template's usual font.
      lastDialogFont_(DialogFont(nullptr, 8)) {
    // A style that draws with the palette it is given: a desktop's own style
    // may paint dark whatever the palette says.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The window manager shows it in title bars and task switchers.
    QApplication::setWindowIcon(IconOf(FindProgramIcon()));
}

QtWindowBackend::~QtWindowBackend() = default;

QFont QtWindowBackend::DialogFont(const char* family, int pointSize) {
    std::string chosen =
        ChooseDialogFontFamily(family != nullptr ? family : "", [](const std::string& name) {
            return QFontDatabase::hasFamily(QString::fromStdString(name));
        });
    QFont font = chosen.empty() ? QFont() : QFont(QString::fromStdString(chosen));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(PointsToPixels(pointSize > 0 ? pointSize : 8, LogicalDpi()));
    font.setKerning(false);
    return font;
}

HWND QtWindowBackend::CreateDialogWindow(const res::DialogResource& dialog, HWND owner) {
    QFont font = DialogFont(dialog.fontName, dialog.fontPointSize);
    lastDialogFont_ = font;
    auto* window =
        new DialogWindow(dialog, font, MeasureBaseUnits(font), dialogPalette_, WidgetOf(owner));
    for (HWND item : window->Items()) {
        auto* label = qobject_cast<QLabel*>(WidgetOf(item));
        if (label != nullptr && label->property("sifIconId").isValid()) {
            // An icon control takes the size of its icon.
            QPixmap icon = IconPixmap(label->property("sifIconId").toInt());
            label->setPixmap(icon);
            if (!icon.isNull())
                label->resize(icon.size());
        }
    }
    return window->Handle();
}

void QtWindowBackend::DestroyWindow(HWND window) {
    DialogWindow* dialog = DialogOf(window);
    if (dialog == nullptr)
        return;
    if (dialog->IsDestroyed())
        return;
    if (window != dialog->Handle()) {
        // One control only; its handle stays known to the dialog, empty.
        DispatchDestroy(window);
        DispatchDetach(window);
        if (QWidget* widget = WidgetOf(window)) {
            widget->hide();
            widget->deleteLater();
        }
        return;
    }
    DispatchDestroy(dialog->Handle());
    for (HWND item : dialog->Items())
        DispatchDetach(item);
    DispatchDetach(dialog->Handle());
    dialog->MarkDestroyed();
    dialog->EndModal();
    dialog->hide();
    // Deleted later: the destroying command may still be on the stack.
    dialog->deleteLater();
}

void QtWindowBackend::ShowWindow(HWND window, int showCommand) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr)
        return;
    switch (showCommand) {
        case SW_HIDE:
            widget->hide();
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            widget->showMinimized();
            break;
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA:
            widget->show();
            break;
        default:
            widget->show();
            if (widget->isWindow()) {
                RaiseWindow(widget);
                widget->activateWindow();
            }
            break;
    }
}

bool QtWindowBackend::IsWindowVisible(HWND window) const {
    QWidget* widget = WidgetOf(window);
    return widget != nullptr && widget->isVisible();
}

void QtWindowBackend::EnableWindow(HWND window, bool enable) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr)
        return;
    if (widget->isWindow()) {
        InputBlocker::SetBlocked(widget, !enable);
    } else {
        widget->setEnabled(enable);
    }
}

bool QtWindowBackend::IsWindowEnabled(HWND window) const {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr)
        return false;
    return widget->isWindow() ? !InputBlocker::IsBlocked(widget) : widget->isEnabled();
}

HWND QtWindowBackend::GetDlgItem(HWND dialog, int id) const {
    DialogWindow* window = DialogOf(dialog);
    if (window == nullptr || window->IsDestroyed())
        return nullptr;
    return window->Item(id);
}

std::string QtWindowBackend::GetWindowTextA(HWND window) const {
    return ToCp1252(TextOf(window));
}

bool QtWindowBackend::IsWindowTextExact(HWND window) const {
    bool exact = true;
    ToCp1252(TextOf(window), &exact);
    return exact;
}

void QtWindowBackend::SetWindowTextA(HWND window, const std::string& text) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr)
        return;
    QString value = FromCp1252(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        ObjectOf(window)->prefixedText = value;
        label->setText((ObjectOf(window)->style & SS_NOPREFIX) ? value : WithoutPrefixMarks(value));
        if (DialogWindow* dialog = DialogOf(window))
            dialog->NameFields();
    } else {
        widget->setWindowTitle(value);
    }
}

std::string QtWindowBackend::GetWindowFileName(HWND window) const {
    auto* edit = qobject_cast<QLineEdit*>(WidgetOf(window));
    if (edit == nullptr)
        return {};
    return QFile::encodeName(edit->text()).toStdString();
}

void QtWindowBackend::SetWindowFileName(HWND window, const std::string& fileName) {
    if (auto* edit = qobject_cast<QLineEdit*>(WidgetOf(window))) {
        edit->setText(QFile::decodeName(QByteArray::fromStdString(fileName)));
    }
}

int QtWindowBackend::GetCheck(HWND button) const {
    auto* widget = qobject_cast<QAbstractButton*>(WidgetOf(button));
    return widget != nullptr && widget->isCheckable() && widget->isChecked() ? BST_CHECKED
                                                                             : BST_UNCHECKED;
}

void QtWindowBackend::SetCheck(HWND button, int state) {
    auto* widget = qobject_cast<QAbstractButton*>(WidgetOf(button));
    if (widget == nullptr || !widget->isCheckable())
        return;
    bool checked = state != BST_UNCHECKED;
    QButtonGroup* group = widget->group();
    if (!checked && group != nullptr && group->exclusive()) {
        // An exclusive group refuses to clear its checked button by itself.
        group->setExclusive(false);
        widget->setChecked(false);
        group->setExclusive(true);
    } else {
        widget->setChecked(checked);
    }
}

RECT QtWindowBackend::GetWindowRect(HWND window) const {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr)
        return RECT{0, 0, 0, 0};
    QRect r = widget->isWindow() ? QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size())
                                 : widget->geometry();
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void QtWindowBackend::SetWindowSize(HWND window, int width, int height) {
    if (QWidget* widget = WidgetOf(window))
        widget->resize(width, height);
}

DialogBaseUnits QtWindowBackend::GetDialogBaseUnits(HWND dialog) const {
    DialogWindow* window = DialogOf(dialog);
    return window != nullptr ? window->BaseUnits() : DialogBaseUnits{0, 0};
}

void QtWindowBackend::SetButtonBitmaps(HWND button, const ButtonBitmaps& bitmaps) {
    if (auto* owner = dynamic_cast<OwnerDrawButton*>(WidgetOf(button)))
        owner->SetPictures(bitmaps);
}

void QtWindowBackend::FocusFirstTabStop(HWND dialog) {
    DialogWindow* window = DialogOf(dialog);
    if (window == nullptr)
        return;
    for (HWND item : window->Items()) {
        QWidget* widget = WidgetOf(item);
        if (widget != nullptr && (ObjectOf(item)->style & WS_TABSTOP) && widget->isEnabled() &&
            widget->focusPolicy() != Qt::NoFocus && !widget->isHidden()) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void QtWindowBackend::SetDialogColors(COLORREF background, COLORREF text) {
    QColor back(GetRValue(background), GetGValue(background), GetBValue(background));
    QColor fore(GetRValue(text), GetGValue(text), GetBValue(text));
    dialogPalette_ = LightDialogPalette(back, fore);
}

void QtWindowBackend::SetInterfaceLanguage(const std::string& languageCode) {
    // Without a translation Qt's texts stay English: the window works as well.
    translations_.Use(QString::fromStdString(languageCode));
}

int QtWindowBackend::RunMessageLoop() {
    if (quitPosted_)
        return quitCode_;
    loopRunning_ = true;
    int code = QApplication::exec();
    loopRunning_ = false;
    return quitPosted_ ? quitCode_ : code;
}

void QtWindowBackend::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
    if (loopRunning_) {
        // Posted, like the quit message: the current handler finishes first.
        QMetaObject::invokeMethod(
            qApp, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
    }
}

void QtWindowBackend::RunModalLoop(HWND dialog) {
    DialogWindow* window = DialogOf(dialog);
    if (window != nullptr && !window->IsDestroyed())
        window->RunModal();
}

void QtWindowBackend::EndModalLoop(HWND dialog) {
    if (DialogWindow* window = DialogOf(dialog))
        window->EndModal();
}

int QtWindowBackend::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT) {
    QWidget* ownerWidget = WidgetOf(owner);
    // The look of the dialog it belongs to; a box of a run has no owner.
    QFont font = ownerWidget != nullptr ? ownerWidget->window()->font() : lastDialogFont_;
    return ShowQtMessageBox(ownerWidget, text, caption, dialogPalette_, font);
}

std::optional<std::string> QtWindowBackend::ChooseOpenFile(const OpenFileRequest& request) {
    return ChooseFileWithQt(request, dialogPalette_);
}

}  // namespace sif::qt
