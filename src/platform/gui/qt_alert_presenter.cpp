#include "platform/gui/qt_alert_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>

#include <string>

#include "platform/core/localized_strings.h"

namespace ch {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

bool onMainThread()
{
    return QThread::currentThread() == qApp->thread();
}

const char* kAlternateButton = "alternateButton";

QPointer<QWidget>& scopedWindow()
{
    static QPointer<QWidget> window;
    return window;
}

void showBox(const Alert& alert, QtAlertPresenter::Kind kind)
{
    if (!onMainThread()) {
        QMetaObject::invokeMethod(qApp, [alert, kind] { showBox(alert, kind); }, Qt::QueuedConnection);
        return;
    }
    QMessageBox* box = QtAlertPresenter::makeBox(alert, kind, QtAlertPresenter::alertWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace

Alert QtAlertPresenter::completed(const Alert& alert, Kind kind)
{
    Alert out = alert;
    if (out.title.empty())
        out.title = localized(kind == Kind::Error ? "ERROR" : kind == Kind::Info ? "INFO" : "QUESTION");
    if (out.message.empty() && out.number != 0)
        out.message = localized(std::to_string(out.number));
    if (out.defaultButton.empty())
        out.defaultButton = localized("OK");
    if (kind == Kind::Question && out.alternateButton.empty())
        out.alternateButton = localized("CANCEL");
    return out;
}

QMessageBox* QtAlertPresenter::makeBox(const Alert& alert, Kind kind, QWidget* window)
{
    const Alert texts = completed(alert, kind);
    auto* box = new QMessageBox(window);
    box->setIcon(kind == Kind::Error ? QMessageBox::Warning
                 : kind == Kind::Info ? QMessageBox::Information
                                      : QMessageBox::Question);
    box->setWindowTitle(qs(texts.title));
    box->setText(qs(texts.message));
    QPushButton* defaultButton = box->addButton(qs(texts.defaultButton), QMessageBox::AcceptRole);
    if (kind == Kind::Question) {
        QPushButton* alternate = box->addButton(qs(texts.alternateButton), QMessageBox::RejectRole);
        alternate->setObjectName(kAlternateButton);
    }
    box->setDefaultButton(defaultButton);
    // The default button is the cautious answer of the error manager's questions.
    box->setEscapeButton(defaultButton);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    return box;
}

QWidget* QtAlertPresenter::alertWindow()
{
    if (QWidget* window = scopedWindow(); window && window->isVisible()) return window;
    return QApplication::activeWindow();
}

AlertWindowScope::AlertWindowScope(QWidget* window) : mPrevious(scopedWindow())
{
    scopedWindow() = window;
}

AlertWindowScope::~AlertWindowScope()
{
    scopedWindow() = mPrevious;
}

void QtAlertPresenter::showError(const Alert& alert)
{
    showBox(alert, Kind::Error);
}

void QtAlertPresenter::showInfo(const Alert& alert)
{
    showBox(alert, Kind::Info);
}

AlertAnswer QtAlertPresenter::askQuestion(const Alert& alert)
{
    if (!onMainThread()) {
        AlertAnswer answer = AlertAnswer::Default;
        QMetaObject::invokeMethod(qApp, [&] { answer = askQuestion(alert); }, Qt::BlockingQueuedConnection);
        return answer;
    }
    QMessageBox* box = makeBox(alert, Kind::Question, alertWindow());
    box->exec();
    const bool alternate = box->clickedButton() && box->clickedButton()->objectName() == kAlternateButton;
    delete box;
    return alternate ? AlertAnswer::Alternate : AlertAnswer::Default;
}

} // namespace ch
