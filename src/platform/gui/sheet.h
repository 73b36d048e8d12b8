#pragma once
// A sheet: a dialog modal for one window (for the whole application when it
// has none) that opens without blocking and hands its return code to the
// handler given when it began. 1 means confirmed, -1 cancelled; a sheet may
// end with codes of its own. Escape and the close box cancel. When it ends,
// the window it was over is the active window again.
//
// A sheet is made once and may be begun again after it ended; each run
// delivers exactly one code to the handler of that run.

#include <QDialog>

#include <functional>

namespace ch {

class Sheet : public QDialog {
    Q_OBJECT

public:
    using EndHandler = std::function<void(int returnCode)>;

    static constexpr int kConfirmed = 1;
    static constexpr int kCancelled = -1;

    explicit Sheet(QWidget* parent = nullptr);

    // Shows the sheet over `window` (nullptr: modal for the application) and
    // returns at once. `onEnd` runs when the sheet ends. Ignored while the
    // sheet is running.
    void begin(QWidget* window, EndHandler onEnd);

    // Hides the sheet, then runs the handler with the code. Nothing happens
    // when the sheet is not running.
    void endSheet(int returnCode);

    bool isRunning() const { return mRunning; }

    // QDialog's endings lead here: accept() confirms, reject() cancels.
    void done(int returnCode) override;
    void reject() override;

private:
    EndHandler mOnEnd;
    bool mRunning = false;
};

// The window of `under` (when shown) becomes the active window again, so
// that its keys work after a sheet or panel over it closed, whatever the
// desktop makes of the closing.
void activateWindowUnder(QWidget* under);

} // namespace ch
