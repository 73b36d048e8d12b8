#pragma once
// Shows the error manager's alerts in message boxes: on the window an
// AlertWindowScope names, else on the active window, modal for it, when there
// is one, otherwise modal for the application.
// Errors and information return at once and leave the box open until the
// user closes it; a question waits for its answer, because its caller needs
// it. Texts the alert leaves empty come from the strings file: the title
// ("ERROR", "INFO", "QUESTION"), the message (by its number) and the buttons
// ("OK", and "CANCEL" for a question's second one). Callable from any
// thread; the box always opens on the main thread.

#include <QPointer>

#include "platform/core/alerts.h"

class QMessageBox;
class QWidget;

namespace ch {

class QtAlertPresenter final : public AlertPresenter {
public:
    void showError(const Alert& alert) override;
    void showInfo(const Alert& alert) override;
    AlertAnswer askQuestion(const Alert& alert) override;

    enum class Kind { Error, Info, Question };
    // The alert with its empty texts filled in.
    static Alert completed(const Alert& alert, Kind kind);
    // A message box for the completed alert, parented to `window` (may be null).
    // The default button is the first, Return and Escape both choose it.
    static QMessageBox* makeBox(const Alert& alert, Kind kind, QWidget* window);
    // The window the next box stands on.
    static QWidget* alertWindow();
};

// While one lives, alerts stand on `window` whichever window is active: what
// was held while books were read is told on the books' own window, not on
// the one that was active when they were opened.
class AlertWindowScope {
public:
    explicit AlertWindowScope(QWidget* window);
    ~AlertWindowScope();
    AlertWindowScope(const AlertWindowScope&) = delete;
    AlertWindowScope& operator=(const AlertWindowScope&) = delete;

private:
    QPointer<QWidget> mPrevious;
};

} // namespace ch
