// In-process harness for window tests: the Qt backend installed, boxes
// recorded and answered at once, and the main dialog with its handlers
// reachable.
#pragma once

#include <QDeadlineTimer>
#include <QFileDialog>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/qt_window_backend.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"
#include "ui/filter_dlg.h"

namespace sif::test {

// The main dialog with its protected handlers opened up for tests.
class TestFilterDlg : public CFilterDlg {
  public:
    using CFilterDlg::CFilterDlg;
    using CFilterDlg::m_cancelButton;
    using CFilterDlg::m_okButton;
};

// The file dialog answered by script: one answer for every request, and
// the requests seen.
struct ScriptedFileChoice {
    std::optional<std::string> answer;  // nothing: a cancel
    std::vector<OpenFileRequest> requests;
};

// The Qt backend, with the file dialog scripted while `scriptedFiles` is set.
class TestBackend : public qt::QtWindowBackend {
  public:
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;
    ScriptedFileChoice* scriptedFiles = nullptr;
};

class GuiHarness {
  public:
    GuiHarness();
    ~GuiHarness();

    TestBackend& backend() { return backend_; }
    // Modal dialogs do not run a loop under the harness: each DoModal only
    // records its template id and ends with IDCANCEL.
    const std::vector<unsigned>& modalTemplates() const { return modalTemplates_; }
    void UseRealModalLoops() { CDialog::SetModalHook(nullptr); }
    RecordingMessageSink& boxes() { return boxes_; }

    // A fresh main dialog, shown as the application shows it.
    TestFilterDlg& OpenMainDialog();
    TestFilterDlg& dialog() { return *dialog_; }
    // Destroys the main dialog's window if it still exists.
    void CloseMainDialog();

    QWidget* Window() const;
    QWidget* Control(int id) const;
    template <class W>
    W* ControlAs(int id) const {
        return qobject_cast<W*>(Control(id));
    }
    // A click as the mouse gives it.
    void Click(int id);
    void SetText(int id, const QString& text);
    // Replaces the text of edit field `id` key by key, as typing does.
    void Type(int id, const QString& text);

  private:
    TestBackend backend_;
    ScopedWindowBackend installed_{backend_};
    RecordingMessageSink boxes_;  // after the backend: boxes come here first
    std::unique_ptr<TestFilterDlg> dialog_;
    std::vector<unsigned> modalTemplates_;
};

// One test's main dialog: German at its start and again afterwards, opened
// with a fresh temporary directory as the current one.
class MainDialogSession {
  public:
    MainDialogSession();
    ~MainDialogSession();

    GuiHarness& gui() { return gui_; }
    TestFilterDlg& dialog() { return gui_.dialog(); }
    const TempDir& dir() const { return dir_; }

  private:
    TempDir dir_;
    ScopedCurrentDir cwd_{dir_.path()};
    GuiHarness gui_;  // closed before the directory goes
};

// Offers every open modal window to `handle` until it takes one (returns
// true), which it must then close. Gives up after `timeoutMs`: then it
// closes whatever modal window is open, so that the loop waiting on it
// returns and the test can fail instead of hanging.
class ModalWatcher {
  public:
    explicit ModalWatcher(std::function<bool(QWidget&)> handle, int timeoutMs = 10000);
    bool handled() const { return handled_; }

  protected:
    // Offers the window that `find` gives instead of the modal one.
    ModalWatcher(std::function<QWidget*()> find, std::function<bool(QWidget&)> handle,
                 int timeoutMs);

  private:
    std::function<QWidget*()> find_;
    std::function<bool(QWidget&)> handle_;
    QDeadlineTimer deadline_;
    QTimer poll_;
    bool handled_ = false;
};

// The same for the file dialog, which is no modal window: the window blocks
// input itself while the dialog is open.
class FileDialogWatcher : public ModalWatcher {
  public:
    explicit FileDialogWatcher(std::function<bool(QFileDialog&)> handle, int timeoutMs = 10000);
};

// The image a BMP resource holds, in the format grab() gives.
QImage BitmapResourceImage(const char* name);

}  // namespace sif::test
