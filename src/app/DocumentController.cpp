#include "app/DocumentController.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "app/PasswordQuestion.h"
#include "app/RollForwardSheet.h"
#include "document/DocumentBackgroundWork.h"
#include "document/DocumentFile.h"
#include "document/FilePassword.h"
#include "document/MyDocument.h"
#include "document/app/ApplicationDefaults.h"
#include "document/app/CommandNewDocumentTarget.h"
#include "document/app/NewBooksCurrency.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/held_alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "platform/gui/qt_alert_presenter.h"
#include "ui/DocumentWindowFrame.h"

namespace ch {

namespace {

// "Name (2).books", "Name (3).books", ...: the first that no file has.
QString unusedNameBeside(const QString& path)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : QStringLiteral(".") + file.suffix();
    for (int number = 2;; ++number) {
        const QString candidate =
            file.dir().filePath(QStringLiteral("%1 (%2)%3").arg(file.completeBaseName()).arg(number).arg(suffix));
        if (!QFileInfo::exists(candidate)) return candidate;
    }
}

// The recent documents, newest first.
constexpr std::string_view kRecentDocumentsKey = "GXRecentDocuments";
constexpr int kRecentDocumentsKept = 10;

QString message(std::string_view key, const QString& name)
{
    return QString::fromStdString(formatMessage(localized(key), {name.toStdString()}));
}

std::string canonical(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    const QString found = info.canonicalFilePath();
    return (found.isEmpty() ? info.absoluteFilePath() : found).toStdString();
}

} // namespace

DocumentController::DocumentController(UserDefaults& defaults, Dispatcher& dispatcher, QuoteService* quotes,
                                       ContactsProvider* contacts, QObject* parent)
    : QObject(parent), mDefaults(defaults), mDispatcher(dispatcher), mQuotes(quotes), mContacts(contacts)
{
    // The windows show whether their documents hold unsaved changes.
    mEditedTimer.setInterval(250);
    connect(&mEditedTimer, &QTimer::timeout, this, [this] {
        for (const auto& window : mWindows) window->setEdited(window->document().isDocumentEdited());
    });
    mEditedTimer.start();
    // The contacts are edited in other programs: read again whenever the
    // application comes to the front, so that linked owners follow them and
    // the owner sheet offers new people.
    if (mContacts)
        connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive) mContacts->reload();
        });
}

DocumentController::~DocumentController()
{
    // Workers and timers go before their documents.
    for (const auto& window : mWindows) window->books().setBackgroundWork(nullptr);
    mBackground.clear();
    mWindows.clear();
}

// --- new

void DocumentController::newDocument()
{
    makeNewDocument(true);
}

DocumentWindow& DocumentController::makeNewDocument(bool withAssistant)
{
    DocumentWindow& window = addWindow(false);
    MyDocument& document = window.document();
    if (!mUntitledJournalFolder.empty()) document.setUntitledJournalFolder(mUntitledJournalFolder);
    document.setUpNewDocument(newBooksCurrencySymbol(mDefaults).c_str());
    mUntitledNames[&window] = untitledName();
    window.setTitle(mUntitledNames[&window]);
    showBooks(window);
    if (withAssistant && document.shouldShowNewFileAssistant()) {
        QPointer<DocumentWindow> guard(&window);
        QTimer::singleShot(100, this, [this, guard] {
            if (guard) showAssistant(*guard);
        });
    }
    emit documentsChanged();
    return window;
}

QString DocumentController::untitledName()
{
    ++mUntitledCount;
    return mUntitledCount == 1 ? localizedText("UNTITLED") : localizedText("UNTITLED") + QStringLiteral(" %1").arg(mUntitledCount);
}

void DocumentController::showAssistant(DocumentWindow& window)
{
    if (!window.frame()) return;
    auto* dialog = new NewDocumentAssistantDialog(mDefaults, window.frame());
    mAssistant = dialog;
    QPointer<DocumentWindow> guard(&window);
    connect(dialog, &NewDocumentAssistantDialog::planReady, this, [guard](const NewDocumentPlan& plan) {
        if (!guard) return;
        CommandNewDocumentTarget target(guard->document());
        executeNewDocumentPlan(plan, target);
    });
    // Finished or cancelled alike.
    connect(dialog, &QDialog::finished, this, [guard] {
        if (guard) guard->document().assistantFinished();
    });
    window.document().assistantStarted();
    dialog->open();
}

// --- open

void DocumentController::openDocument(QWidget* parent)
{
    const std::optional<QString> path = choose(parent, false, QString());
    if (path) openDocumentFile(path->toStdString());
}

DocumentWindow* DocumentController::windowForFile(const std::string& path) const
{
    const std::string wanted = canonical(path);
    for (const auto& window : mWindows)
        if (!window->document().fileName().empty() && canonical(window->document().fileName()) == wanted)
            return window.get();
    return nullptr;
}

bool DocumentController::openDocumentFile(const std::string& path)
{
    if (DocumentWindow* open = windowForFile(path)) {
        if (open->frame()) {
            open->frame()->show();
            open->frame()->raise();
            open->frame()->activateWindow();
        }
        return true;
    }
    // Held: nothing the document schedules while loading runs before its
    // books may be shown.
    DocumentWindow& window = addWindow(true);
    // What reading tells (damaged books, a journal set aside, ...) waits for
    // the books' window: told now it would stand on another document's
    // window, or under this one once it shows.
    auto held = std::make_shared<HeldAlerts>();
    FileOutcome outcome;
    {
        ScopedAlertPresenter holding(*held);
        outcome = readFromFile(window.document(), canonical(path));
    }
    if (!outcome.ok()) {
        held->tell(alertPresenter());
        remove(window);
        return false;
    }
    noteRecent(window.document().fileName());
    window.setTitle(QFileInfo(QString::fromStdString(window.document().fileName())).fileName());
    if (!isPasswordProtected(window.document())) {
        showBooks(window);
        tellOnWindow(window, *held);
        emit documentsChanged();
        return true;
    }
    MyDocument& document = window.document();
    document.setPasswordQuestionOpen(true);
    const Dictionary parameters = passwordQuestionParameters(document);
    auto* question = new PasswordQuestion(
        QFileInfo(QString::fromStdString(document.fileName())).fileName(),
        [parameters](std::string_view typed) { return passwordAccepts(parameters, typed); });
    question->setAttribute(Qt::WA_DeleteOnClose);
    mPassword = question;
    QPointer<DocumentWindow> guard(&window);
    connect(question, &QDialog::finished, this, [this, guard, held](int result) {
        if (!guard) return;
        guard->document().setPasswordQuestionOpen(false);
        if (result == QDialog::Accepted) {
            showBooks(*guard);
            tellOnWindow(*guard, *held);
        } else {
            // Closed unseen: there is nothing to ask about.
            guard->document().clearChangeCount();
            remove(*guard);
        }
        emit documentsChanged();
    });
    question->open();
    emit documentsChanged();
    return true;
}

// --- save

bool DocumentController::save(DocumentWindow& window)
{
    MyDocument& document = window.document();
    if (document.fileName().empty() || document.mustSaveUnderNewName()) return saveAs(window);
    const FileOutcome outcome = saveDocument(document);
    window.setEdited(document.isDocumentEdited());
    if (outcome.ok()) noteRecent(document.fileName());
    return outcome.ok();
}

bool DocumentController::saveAs(DocumentWindow& window)
{
    MyDocument& document = window.document();
    QString suggested = QString::fromStdString(document.fileName());
    // Books that must not be saved over their file are offered a name beside it.
    if (!suggested.isEmpty() && document.mustSaveUnderNewName()) suggested = unusedNameBeside(suggested);
    if (suggested.isEmpty())
        suggested = QDir::home().filePath(mUntitledNames.count(&window) ? mUntitledNames[&window] : localizedText("UNTITLED")) +
                    QStringLiteral(".books");
    std::optional<QString> path = choose(window.frame(), true, suggested);
    if (!path) return false;
    if (QFileInfo(*path).suffix().isEmpty()) *path += QStringLiteral(".books");
    const FileOutcome outcome = saveDocumentAs(document, path->toStdString());
    if (!outcome.ok()) return false;
    mUntitledNames.erase(&window);
    window.setTitle(QFileInfo(*path).fileName());
    window.setEdited(document.isDocumentEdited());
    noteRecent(document.fileName());
    return true;
}

void DocumentController::revert(DocumentWindow& window)
{
    MyDocument& document = window.document();
    if (document.fileName().empty() || !window.frame()) return;
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Countinghouse"),
                                message("REVERTQUESTION", QFileInfo(QString::fromStdString(document.fileName())).fileName()),
                                QMessageBox::NoButton, window.frame());
    box->setObjectName("revertQuestion");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QPushButton* revertButton = box->addButton(localizedText("REVERTBUTTON"), QMessageBox::DestructiveRole);
    revertButton->setObjectName("revert");
    box->addButton(localizedText("CANCEL"), QMessageBox::RejectRole)->setObjectName("cancel");
    box->setDefaultButton(revertButton);
    QPointer<DocumentWindow> guard(&window);
    connect(box, &QMessageBox::buttonClicked, this, [this, guard, revertButton](QAbstractButton* button) {
        if (!guard || button != revertButton) return;
        // On the next turn: the window is built anew, and this question,
        // which belongs to it, is still answering the click.
        QTimer::singleShot(0, this, [guard] {
            if (guard) guard->revertToSaved();
        });
    });
    mQuestion = box;
    box->open();
}

// --- close

void DocumentController::close(DocumentWindow& window)
{
    MyDocument& document = window.document();
    if (!document.isDocumentEdited() || !window.frame()) {
        document.commandExecutor().documentClosing(document.isDocumentEdited());
        discard(window);
        return;
    }
    if (mQuestion) return;   // already asking
    const QString name = mUntitledNames.count(&window)
                             ? mUntitledNames[&window]
                             : QFileInfo(QString::fromStdString(document.fileName())).fileName();
    window.frame()->show();
    window.frame()->raise();
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Countinghouse"),
                                message("SAVECHANGESQUESTION", name), QMessageBox::NoButton, window.frame());
    box->setObjectName("saveChangesQuestion");
    box->setInformativeText(localizedText("SAVECHANGESINFO"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QPushButton* saveButton = box->addButton(localizedText("SAVEBUTTON"), QMessageBox::AcceptRole);
    saveButton->setObjectName("save");
    QPushButton* dontSave = box->addButton(localizedText("DONTSAVEBUTTON"), QMessageBox::DestructiveRole);
    dontSave->setObjectName("dontSave");
    QPushButton* cancel = box->addButton(localizedText("CANCEL"), QMessageBox::RejectRole);
    cancel->setObjectName("cancel");
    box->setDefaultButton(saveButton);
    box->setEscapeButton(cancel);
    QPointer<DocumentWindow> guard(&window);
    connect(box, &QMessageBox::buttonClicked, this, [this, guard, saveButton, dontSave](QAbstractButton* button) {
        // Answered: a quit that goes on may ask about the next window.
        mQuestion = nullptr;
        if (!guard) return;
        if (button == dontSave) {
            // The user threw these changes away: their journal must not
            // offer them again at the next opening.
            guard->document().commandExecutor().getCommandLogger().clearLogFile();
            discard(*guard);
        } else if (button == saveButton) {
            // The box is still on screen; the save panel (when any) follows it.
            QTimer::singleShot(0, this, [this, guard] {
                if (guard && save(*guard)) discard(*guard);
                else mQuitting = false;
            });
        } else {
            mQuitting = false;
        }
    });
    mQuestion = box;
    box->open();
}

void DocumentController::discard(DocumentWindow& window)
{
    remove(window);
    emit documentsChanged();
    if (mQuitting) closeNextForQuit();
}

void DocumentController::quit()
{
    mQuitting = true;
    closeNextForQuit();
}

void DocumentController::closeNextForQuit()
{
    if (mWindows.empty()) {
        mQuitting = false;
        emit quitAccepted();
        return;
    }
    // A question already on screen is answered first; quitting waits for
    // the next Quit.
    if (mQuestion) {
        mQuitting = false;
        return;
    }
    close(*mWindows.back());
}

// --- the windows

DocumentWindow& DocumentController::addWindow(bool held)
{
    mWindows.push_back(std::make_unique<DocumentWindow>(mDispatcher, held, mContacts));
    DocumentWindow& window = *mWindows.back();
    wire(window);
    // The roll-forward offer is a sheet on the window; it comes only once the
    // books are shown (the document's delayed steps are held until then).
    QPointer<DocumentWindow> guard(&window);
    window.document().commandExecutor().setRollForwardOffer(
        [guard](std::vector<GXCommandHistoryItem>& entries, std::function<void(int)> answer) {
            auto* sheet = new RollForwardSheet(entries, std::move(answer), guard ? guard->frame() : nullptr);
            sheet->open();
        });
    return window;
}

void DocumentController::setStatementChooser(StatementImportMenu::FileChooser chooser)
{
    mStatementChooser = std::move(chooser);
    for (const auto& window : mWindows) window->setStatementChooser(mStatementChooser);
}

void DocumentController::wire(DocumentWindow& window)
{
    DocumentWindow* w = &window;
    w->setStatementChooser(mStatementChooser);
    connect(w, &DocumentWindow::newRequested, this, [this] { makeNewDocument(true); });
    connect(w, &DocumentWindow::openRequested, this, [this, w] { openDocument(w->frame()); });
    connect(w, &DocumentWindow::openRecentRequested, this,
            [this](const QString& path) { openDocumentFile(path.toStdString()); });
    connect(w, &DocumentWindow::saveRequested, this, [this, w] { save(*w); });
    connect(w, &DocumentWindow::saveAsRequested, this, [this, w] { saveAs(*w); });
    connect(w, &DocumentWindow::revertRequested, this, [this, w] { revert(*w); });
    connect(w, &DocumentWindow::closeRequested, this, [this, w] { close(*w); });
    connect(w, &DocumentWindow::quitRequested, this, &DocumentController::quit);
    connect(w, &DocumentWindow::updateCheckRequested, this, &DocumentController::updateCheckRequested);
    connect(w, &DocumentWindow::aboutRequested, this, &DocumentController::aboutRequested);
    connect(w, &DocumentWindow::preferencesRequested, this, &DocumentController::preferencesRequested);
}

void DocumentController::showBooks(DocumentWindow& window)
{
    window.setRecentFiles(recentFiles());
    window.showBooks();
    if (mQuotes) {
        auto work = std::make_unique<DocumentBackgroundWork>(window.document(), *mQuotes);
        work->startTimersAsDefaultsAsk();
        window.books().setBackgroundWork(work.get());
        mBackground[&window] = std::move(work);
    }
}

void DocumentController::tellOnWindow(DocumentWindow& window, HeldAlerts& held)
{
    AlertWindowScope onWindow(window.frame());
    held.tell(alertPresenter());
}

void DocumentController::remove(DocumentWindow& window)
{
    // Stops the timers and joins the workers before the document goes.
    window.books().setBackgroundWork(nullptr);
    mBackground.erase(&window);
    mUntitledNames.erase(&window);
    const auto found = std::find_if(mWindows.begin(), mWindows.end(),
                                    [&](const std::unique_ptr<DocumentWindow>& w) { return w.get() == &window; });
    if (found == mWindows.end()) return;
    std::unique_ptr<DocumentWindow> gone = std::move(*found);
    mWindows.erase(found);
    if (gone->frame()) gone->frame()->hide();
    // Deleted on the next turn: the call that closes it may come from its own menu.
    gone.release()->deleteLater();
}

QStringList DocumentController::recentFiles() const
{
    QStringList paths;
    const Value stored = mDefaults.object(kRecentDocumentsKey);
    if (const Array* list = stored.asArray())
        for (const Value& entry : *list)
            if (const std::string* path = entry.asString()) paths << QString::fromStdString(*path);
    return paths;
}

void DocumentController::noteRecent(const std::string& path)
{
    if (path.empty()) return;
    QStringList paths = recentFiles();
    const QString added = QString::fromStdString(path);
    paths.removeAll(added);
    paths.prepend(added);
    while (paths.size() > kRecentDocumentsKept) paths.removeLast();
    Array stored;
    for (const QString& p : paths) stored.push_back(Value(p.toStdString()));
    mDefaults.set(std::string(kRecentDocumentsKey), Value(std::move(stored)));
    for (const auto& window : mWindows) window->setRecentFiles(paths);
}

std::optional<QString> DocumentController::choose(QWidget* parent, bool save, const QString& suggested)
{
    if (mChooser) return mChooser(parent, save, suggested);
    const QString filter = QStringLiteral("Countinghouse (*.books)");
    const QString path = save ? QFileDialog::getSaveFileName(parent, QString(), suggested, filter)
                              : QFileDialog::getOpenFileName(parent, QString(), QDir::homePath(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

} // namespace ch
