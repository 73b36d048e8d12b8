#include "ui/CommandValidationTrigger.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QWidget>

namespace ch {

CommandValidationTrigger::CommandValidationTrigger(QWidget& window, std::function<void()> validate, QObject* parent)
    : QObject(parent), mWindow(&window), mValidate(std::move(validate))
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(0);
    connect(&mTimer, &QTimer::timeout, this, &CommandValidationTrigger::validateNow);
    // The focus decides what most commands act on: validated at once, so
    // that a command sent right after the focus moved finds its state.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (isInWindow(now)) validateNow();
    });
    // A shortcut is tried on the focused widget's ShortcutOverride, which
    // only the application sees for every widget of the window.
    qApp->installEventFilter(this);
}

CommandValidationTrigger::~CommandValidationTrigger()
{
    qApp->removeEventFilter(this);
}

void CommandValidationTrigger::schedule()
{
    if (!mTimer.isActive()) mTimer.start();
}

void CommandValidationTrigger::validateNow()
{
    mTimer.stop();
    if (!mWindow) return;
    watchSelections();
    mValidate();
}

bool CommandValidationTrigger::isInWindow(QObject* object) const
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && mWindow && widget->window() == mWindow;
}

bool CommandValidationTrigger::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && isInWindow(watched) &&
        mayBeShortcut(*static_cast<QKeyEvent*>(event)))
        validateNow();
    return false;
}

bool CommandValidationTrigger::mayBeShortcut(const QKeyEvent& key)
{
    // Typing into a field is no command: the window's keys all come with a
    // command modifier or are the delete keys.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
    const int code = key.key();
    return code == Qt::Key_Delete || code == Qt::Key_Backspace || (code >= Qt::Key_F1 && code <= Qt::Key_F35);
}

void CommandValidationTrigger::watchSelections()
{
    for (QAbstractItemView* view : mWindow->findChildren<QAbstractItemView*>()) {
        QItemSelectionModel* selection = view->selectionModel();
        if (!selection) continue;
        connect(selection, &QItemSelectionModel::selectionChanged, this, &CommandValidationTrigger::schedule,
                Qt::UniqueConnection);
        // A list filtered or arranged anew loses its selection without a
        // selection change.
        if (QAbstractItemModel* model = view->model()) {
            connect(model, &QAbstractItemModel::modelReset, this, &CommandValidationTrigger::schedule,
                    Qt::UniqueConnection);
            connect(model, &QAbstractItemModel::rowsRemoved, this, &CommandValidationTrigger::schedule,
                    Qt::UniqueConnection);
            connect(model, &QAbstractItemModel::layoutChanged, this, &CommandValidationTrigger::schedule,
                    Qt::UniqueConnection);
        }
    }
}

} // namespace ch
