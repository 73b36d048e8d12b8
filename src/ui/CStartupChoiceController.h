#pragma once
// The start-up choice: how to begin when the application starts without a
// document. The choice buttons end the sheet with their code (see
// StartupChoice); the application acts on it. The two web buttons open a
// page and leave the sheet open.

#include <functional>

#include "platform/core/value.h"
#include "platform/gui/sheet.h"

class QPushButton;

namespace ch {

class CStartupChoiceController : public Sheet {
    Q_OBJECT

public:
    // Reads the maker's links file and hands what it holds (a dictionary, or
    // nothing when it cannot be read) to `done` on the main thread.
    using LinksReader = std::function<void(std::function<void(const Value& links)> done)>;

    // Without a reader the links file counts as unreadable.
    explicit CStartupChoiceController(LinksReader readLinks = {}, QWidget* parent = nullptr);

    // "Open the Last Document" is offered only when there is one.
    void setLastDocumentAvailable(bool available);

public slots:
    void newDocumentClicked();
    void openRecentClicked();
    void newDocumentWithoutAssistantClicked();
    void lastOpenedDocument();
    void selectExistingDocument();
    void visitCommunityClicked();
    void videoTutorials();

private:
    void choose(int code);

    LinksReader mReadLinks;
    QPushButton* mLastDocument = nullptr;
};

} // namespace ch
