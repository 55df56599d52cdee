#include "platform/qt/dialog_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "platform/framework/afx_types.h"
#include "platform/framework/field_label.h"
#include "platform/framework/window_backend.h"
#include "platform/qt/controls.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/raise_window.h"
#include "platform/window_styles.h"

namespace sif::qt {
namespace {

QRect ToQRect(const RECT& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

bool IsFocusable(unsigned style) {
    return (style & WS_TABSTOP) != 0;
}

}  // namespace

DialogWindow::DialogWindow(const res::DialogResource& dialog, const QFont& font,
                           DialogBaseUnits baseUnits, const QPalette& palette, QWidget* owner)
    : QDialog(nullptr), baseUnits_(baseUnits) {
    self_.widget = this;
    self_.dialog = this;

    // Fixed frame with title bar and system menu: no resizing, no min/max box.
    Qt::WindowFlags flags = (owner != nullptr ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
    if (dialog.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setWindowTitle(FromCp1252(dialog.caption != nullptr ? dialog.caption : ""));
    setFont(font);
    setPalette(palette);
    setAutoFillBackground(true);
    setSizeGripEnabled(false);

    RECT frame = MapDialogRect(dialog.x, dialog.y, dialog.w, dialog.h, baseUnits);
    setFixedSize(frame.Width(), frame.Height());
    QPoint origin(frame.left, frame.top);
    // Without DS_ABSALIGN an owned dialog is placed relative to its owner.
    if (owner != nullptr && !(dialog.style & DS_ABSALIGN))
        origin += owner->mapToGlobal(QPoint(0, 0));
    move(origin);
    if (owner != nullptr) {
        // Kept above its owner by the window manager.
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }

    QButtonGroup* radioGroup = nullptr;
    for (std::size_t i = 0; i < dialog.controlCount; ++i)
        AddControl(dialog.controls[i], radioGroup);

    // A screen reader tells the fields apart by the labels beside them;
    // check boxes and buttons are named by their own texts.
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (qobject_cast<QLineEdit*>(items_[i]->widget.data()) == nullptr)
            continue;
        int label = FindFieldLabel(dialog, i);
        if (label >= 0) {
            fieldLabels_.push_back(
                {qobject_cast<QLabel*>(items_[label]->widget.data()), items_[i]->widget});
        }
    }
    NameFields();

    // Group boxes are frames only: behind their siblings and blind to the mouse.
    for (auto& item : items_) {
        if (qobject_cast<QGroupBox*>(item->widget.data()) != nullptr)
            item->widget->lower();
    }
}

DialogWindow::~DialogWindow() {
    if (modalLoop_ != nullptr)
        modalLoop_->quit();
}

void DialogWindow::AddControl(const res::ControlResource& control, QButtonGroup*& radioGroup) {
    auto object = std::make_unique<WindowObject>();
    object->dialog = this;
    object->id = control.id;
    object->className = QString::fromLatin1(control.className);
    object->style = control.style;
    const QString text = FromCp1252(control.text != nullptr ? control.text : "");
    const int id = control.id;
    const unsigned style = control.style;
    if (style & WS_GROUP)
        radioGroup = nullptr;  // WS_GROUP starts a new group

    QWidget* widget = nullptr;
    if (object->className.compare(u"Button", Qt::CaseInsensitive) == 0) {
        unsigned type = style & BS_TYPEMASK;
        QAbstractButton* button = nullptr;
        switch (type) {
            case BS_OWNERDRAW:
                button = new OwnerDrawButton(this);
                break;
            case BS_CHECKBOX:
            case BS_3STATE:
                button = new ManualCheckBox(text, this);
                break;
            case BS_AUTOCHECKBOX:
            case BS_AUTO3STATE:
                button = new QCheckBox(text, this);
                break;
            case BS_RADIOBUTTON:
                button = new ManualRadioButton(text, this);
                button->setAutoExclusive(false);
                break;
            case BS_AUTORADIOBUTTON: {
                button = new QRadioButton(text, this);
                button->setAutoExclusive(false);
                if (radioGroup == nullptr) {
                    radioGroup = new QButtonGroup(this);
                    radioGroup->setExclusive(true);
                    radioGroups_.push_back(radioGroup);
                }
                radioGroup->addButton(button);
                break;
            }
            case BS_GROUPBOX: {
                auto* box = new QGroupBox(text, this);
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
                box->setFocusPolicy(Qt::NoFocus);
                widget = box;
                break;
            }
            default: {
                auto* push = new QPushButton(text, this);
                push->setAutoDefault(true);
                if (type == BS_DEFPUSHBUTTON)
                    push->setDefault(true);
                button = push;
                break;
            }
        }
        if (button != nullptr) {
            button->setFocusPolicy(IsFocusable(style) ? Qt::StrongFocus : Qt::ClickFocus);
            QObject::connect(button, &QAbstractButton::clicked, this, [this, id] { Notify(id); });
            widget = button;
        }
    } else if (object->className.compare(u"Edit", Qt::CaseInsensitive) == 0) {
        auto* edit = new QLineEdit(text, this);
        edit->setFrame((style & WS_BORDER) != 0);
        edit->setFocusPolicy(IsFocusable(style) ? Qt::StrongFocus : Qt::ClickFocus);
        // White with black text, as a light desktop's edit fields: the
        // dialog palette's base and text roles.
        widget = edit;
    } else {
        auto* label = new QLabel(this);
        label->setFocusPolicy(Qt::NoFocus);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setContentsMargins(0, 0, 0, 0);
        unsigned type = style & SS_TYPEMASK;
        if (type == SS_ICON) {
            // The icon comes from the resources by id; the backend sets it.
            label->setProperty("sifIconId", control.iconId);
        } else {
            if (type == SS_CENTER)
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            if (type == SS_RIGHT)
                label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            label->setWordWrap(true);
            label->setTextFormat(Qt::PlainText);
            object->prefixedText = text;
            label->setText((style & SS_NOPREFIX) ? text : WithoutPrefixMarks(text));
        }
        widget = label;
    }

    widget->setGeometry(
        ToQRect(MapDialogRect(control.x, control.y, control.w, control.h, baseUnits_)));
    if (style & WS_DISABLED)
        widget->setEnabled(false);
    widget->setVisible((style & WS_VISIBLE) != 0);
    object->widget = widget;
    items_.push_back(std::move(object));
}

void DialogWindow::NameFields() {
    for (const FieldLabel& pair : fieldLabels_) {
        if (!pair.label.isNull() && !pair.field.isNull())
            pair.field->setAccessibleName(pair.label->text());
    }
}

HWND DialogWindow::Item(int id) {
    if (id == -1)
        return nullptr;
    for (auto& item : items_) {
        if (item->id == id)
            return HandleOf(item.get());
    }
    return nullptr;
}

std::vector<HWND> DialogWindow::Items() {
    std::vector<HWND> handles;
    for (auto& item : items_)
        handles.push_back(HandleOf(item.get()));
    return handles;
}

QButtonGroup* DialogWindow::RadioGroupOf(QWidget* button) const {
    auto* abstractButton = qobject_cast<QAbstractButton*>(button);
    return abstractButton != nullptr ? abstractButton->group() : nullptr;
}

void DialogWindow::Notify(int id) {
    if (!destroyed_)
        DispatchCommand(Handle(), id, BN_CLICKED);
}

void DialogWindow::reject() {
    Notify(IDCANCEL);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box is the cancel command; the handler decides what closes.
    event->ignore();
    Notify(IDCANCEL);
}

void DialogWindow::RunModal() {
    QEventLoop loop;
    modalLoop_ = &loop;
    setWindowModality(Qt::ApplicationModal);
    show();
    RaiseWindow(this);
    activateWindow();
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
}

void DialogWindow::EndModal() {
    if (modalLoop_ != nullptr)
        modalLoop_->quit();
}

}  // namespace sif::qt
