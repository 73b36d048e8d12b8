#include "app/UpdateCheckWindow.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>

#include "document/app/ProductInfo.h"
#include "platform/core/dispatcher.h"
#include "platform/core/http_get.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::optional<std::string> fetchWithCurl(std::string_view address)
{
    HttpLimits limits;
    HttpResponse response = httpGet(std::string(address), limits);
    if (!response.ok()) return std::nullopt;
    return std::move(response.body);
}

} // namespace

UpdateAvailableWindow::UpdateAvailableWindow(UserDefaults& defaults, const UpdateCheckResult& result, QWidget* parent)
    : QDialog(parent), mDefaults(defaults), mNetworkVersion(result.newVersion)
{
    setObjectName("UpdateAvailableWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Countinghouse"));
    auto* layout = new QGridLayout(this);
    auto* current = new QLabel(qs(result.currentVersion));
    current->setObjectName("currentVersionField");
    auto* announced = new QLabel(qs(result.newVersion));
    announced->setObjectName("newVersionField");
    layout->addWidget(new QLabel(qs(localized("UPDATECURRENTVERSION"))), 0, 0);
    layout->addWidget(current, 0, 1);
    layout->addWidget(new QLabel(qs(localized("UPDATENEWVERSION"))), 1, 0);
    layout->addWidget(announced, 1, 1);
    auto* notes = new QTextEdit;
    notes->setObjectName("releaseNotesField");
    notes->setReadOnly(true);
    notes->setPlainText(qs(result.notes));
    layout->addWidget(notes, 2, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto* skip = new QPushButton(qs(localized("UPDATESKIP")));
    skip->setObjectName("skipVersionButton");
    connect(skip, &QPushButton::clicked, this, [this] {
        skipVersion(mDefaults, mNetworkVersion);
        close();
    });
    buttons->addWidget(skip);
    buttons->addStretch();
    auto* cancel = new QPushButton(qs(localized("CANCEL")));
    cancel->setObjectName("cancelButton");
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(cancel);
    auto* upgrade = new QPushButton(qs(localized("UPDATEUPGRADE")));
    upgrade->setObjectName("upgradeButton");
    upgrade->setDefault(true);
    connect(upgrade, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl(qs(kDownloadPage)));
        close();
    });
    buttons->addWidget(upgrade);
    layout->addLayout(buttons, 3, 0, 1, 2);
    resize(520, 380);
}

UpdateChecker::UpdateChecker(UserDefaults& defaults, Dispatcher& dispatcher, std::function<bool()> startupChoiceOpen,
                             FetchText fetch, QObject* parent)
    : QObject(parent),
      mDefaults(defaults),
      mDispatcher(dispatcher),
      mStartupChoiceOpen(std::move(startupChoiceOpen)),
      mFetch(fetch ? std::move(fetch) : FetchText(fetchWithCurl)),
      mAlive(std::make_shared<UpdateChecker*>(this))
{
}

UpdateChecker::~UpdateChecker()
{
    mAlive.reset();
    if (mWorker.joinable()) mWorker.join();
    delete mWindow;
}

void UpdateChecker::check(bool askedByUser)
{
    const std::optional<UpdateCheckRequest> request = updateCheckRequest(askedByUser, mDefaults);
    if (!request) return;
    if (mWorker.joinable()) {
        // The previous check has answered or will soon; a second one waits for it.
        mWorker.join();
    }
    std::weak_ptr<UpdateChecker*> alive = mAlive;
    Dispatcher& dispatcher = mDispatcher;
    FetchText fetch = mFetch;
    mWorker = std::thread([request = *request, alive, &dispatcher, fetch] {
        const UpdateCheckResult result = performUpdateCheck(request, fetch);
        // Every window and alert step belongs to the main thread.
        dispatcher.post([request, result, alive] {
            if (auto self = alive.lock()) (*self)->answered(request, result);
        });
    });
}

void UpdateChecker::answered(const UpdateCheckRequest&, const UpdateCheckResult& result)
{
    if (result.outcome != UpdateCheckOutcome::ShowUpgradeWindow) {
        showUpdateCheckAnswer(result.outcome);
        return;
    }
    mShowWindow = scheduleUpgradeWindow(mDispatcher, mStartupChoiceOpen, [this, result] {
        if (mWindow) return;
        mWindow = new UpdateAvailableWindow(mDefaults, result);
        mWindow->show();
    });
}

} // namespace ch
