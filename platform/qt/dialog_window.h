// A dialog window built from a template: its controls at their mapped pixel
// rectangles, in template order (which is also the tab order).
#pragma once

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <memory>
#include <vector>

#include "platform/framework/dialog_units.h"
#include "platform/qt/window_object.h"
#include "platform/resource_data.h"

class QButtonGroup;

namespace sif::qt {

class DialogWindow : public QDialog {
  public:
    DialogWindow(const res::DialogResource& dialog, const QFont& font, DialogBaseUnits baseUnits,
                 const QPalette& palette, QWidget* owner);
    ~DialogWindow() override;

    HWND Handle() { return HandleOf(&self_); }
    // The control with this id, or null.
    HWND Item(int id);
    // Every control handle in template order.
    std::vector<HWND> Items();
    DialogBaseUnits BaseUnits() const { return baseUnits_; }
    QButtonGroup* RadioGroupOf(QWidget* button) const;

    // Once destroyed, the window reports nothing more and waits for deletion.
    void MarkDestroyed() { destroyed_ = true; }
    bool IsDestroyed() const { return destroyed_; }

    void RunModal();
    void EndModal();

    // Gives each edit field the text of its label as its accessible name;
    // again whenever a label's text changes.
    void NameFields();

  protected:
    void reject() override;  // Escape
    void closeEvent(QCloseEvent* event) override;

  private:
    void AddControl(const res::ControlResource& control, QButtonGroup*& radioGroup);
    void Notify(int id);

    WindowObject self_;
    std::vector<std::unique_ptr<WindowObject>> items_;
    std::vector<QButtonGroup*> radioGroups_;
    struct FieldLabel {
        QPointer<QLabel> label;
        QPointer<QWidget> field;
    };
    std::vector<FieldLabel> fieldLabels_;
    DialogBaseUnits baseUnits_;
    QEventLoop* modalLoop_ = nullptr;
    bool destroyed_ = false;
};

}  // namespace sif::qt
