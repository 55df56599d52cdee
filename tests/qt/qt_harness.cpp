#include "tests/qt/qt_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "platform/qt/window_object.h"
#include "platform/resources.h"

namespace sif::test {

std::optional<std::string> TestBackend::ChooseOpenFile(const OpenFileRequest& request) {
    if (scriptedFiles == nullptr)
        return qt::QtWindowBackend::ChooseOpenFile(request);
    scriptedFiles->requests.push_back(request);
    return scriptedFiles->answer;
}

GuiHarness::GuiHarness() {
    backend_.SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
    CDialog::SetModalHook(
        [this](CDialog& dialog) { modalTemplates_.push_back(dialog.GetTemplateId()); });
}

GuiHarness::~GuiHarness() {
    CloseMainDialog();
    dialog_.reset();
    CDialog::SetModalHook(nullptr);
}

TestFilterDlg& GuiHarness::OpenMainDialog() {
    CloseMainDialog();
    dialog_ = std::make_unique<TestFilterDlg>(nullptr);
    sif::ShowWindow(dialog_->GetSafeHwnd(), SW_SHOWNORMAL);
    backend_.ClearQuit();
    return *dialog_;
}

void GuiHarness::CloseMainDialog() {
    if (dialog_ && dialog_->GetSafeHwnd() != nullptr)
        dialog_->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* GuiHarness::Window() const {
    return qt::WidgetOf(dialog_->GetSafeHwnd());
}

QWidget* GuiHarness::Control(int id) const {
    return qt::WidgetOf(backend_.GetDlgItem(dialog_->GetSafeHwnd(), id));
}

void GuiHarness::Click(int id) {
    QWidget* widget = Control(id);
    QVERIFY2(widget != nullptr, qPrintable(QString("no control %1").arg(id)));
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(4, widget->height() / 2));
}

void GuiHarness::SetText(int id, const QString& text) {
    auto* edit = ControlAs<QLineEdit>(id);
    QVERIFY2(edit != nullptr, qPrintable(QString("no edit field %1").arg(id)));
    edit->setText(text);
}

ModalWatcher::ModalWatcher(std::function<bool(QWidget&)> handle, int timeoutMs)
    : ModalWatcher(QApplication::activeModalWidget, std::move(handle), timeoutMs) {}

ModalWatcher::ModalWatcher(std::function<QWidget*()> find, std::function<bool(QWidget&)> handle,
                           int timeoutMs)
    : find_(std::move(find)), handle_(std::move(handle)), deadline_(timeoutMs) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        QWidget* modal = find_();
        if (modal != nullptr && modal->isVisible() && handle_(*modal)) {
            poll_.stop();
            handled_ = true;
        } else if (deadline_.hasExpired()) {
            poll_.stop();
            if (modal != nullptr)
                modal->close();
        }
    });
    poll_.start(10);
}

FileDialogWatcher::FileDialogWatcher(std::function<bool(QFileDialog&)> handle, int timeoutMs)
    : ModalWatcher(
          []() -> QWidget* {
              for (QWidget* top : QApplication::topLevelWidgets()) {
                  if (qobject_cast<QFileDialog*>(top) != nullptr && top->isVisible())
                      return top;
              }
              return nullptr;
          },
          [handle = std::move(handle)](QWidget& dialog) {
              return handle(static_cast<QFileDialog&>(dialog));
          },
          timeoutMs) {}

void GuiHarness::Type(int id, const QString& text) {
    auto* edit = ControlAs<QLineEdit>(id);
    QVERIFY2(edit != nullptr, qPrintable(QString("no edit field %1").arg(id)));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    for (char32_t c : text.toUcs4()) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                            Qt::NoModifier);
    }
}

QImage BitmapResourceImage(const char* name) {
    const res::BinaryResource* bitmap = FindBitmapResource(name);
    if (bitmap == nullptr)
        return {};
    return QImage::fromData(bitmap->data, static_cast<int>(bitmap->size), "BMP")
        .convertToFormat(QImage::Format_RGB32);
}

MainDialogSession::MainDialogSession() {
    g_bEnglish = 0;
    gui_.OpenMainDialog();
}

MainDialogSession::~MainDialogSession() {
    g_bEnglish = 0;
}

}  // namespace sif::test
