#pragma once
// When a document window's commands are validated again. An action keeps
// the enabled state it was last given, and Qt never fires the shortcut of a
// disabled action: a Delete or Ctrl+C pressed after a new row was selected
// would do nothing until some menu had been opened. So the window's
// commands are validated again
//   - at once after a focus change inside the window,
//   - after a selection change in any of its lists (once per burst, on the
//     next turn of the event loop), and
//   - at once when a key pressed in the window is about to be tried as a
//     shortcut (a key with a command modifier, Delete, Backspace or a
//     function key), so that it acts on what is selected at that moment.
//
// Lists made after the window (pages are made on first need) are found
// again at every validation.

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace ch {

class CommandValidationTrigger : public QObject {
    Q_OBJECT

public:
    // `validate` enables and titles every command of `window`.
    CommandValidationTrigger(QWidget& window, std::function<void()> validate, QObject* parent = nullptr);
    ~CommandValidationTrigger() override;

    // Validates on the next turn of the event loop (once however often asked).
    void schedule();
    // Validates now.
    void validateNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isInWindow(QObject* object) const;
    static bool mayBeShortcut(const QKeyEvent& key);
    // Follows the selection of every list of the window.
    void watchSelections();

    QPointer<QWidget> mWindow;
    std::function<void()> mValidate;
    QTimer mTimer;
};

} // namespace ch
