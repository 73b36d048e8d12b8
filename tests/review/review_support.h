#pragma once
// What the parts of the review program share: where the pictures go, the
// application they are taken of, and writing one picture.
//
// A part is one function `int reviewSomething(const ReviewContext&)` in a
// file of its own under tests/review/, declared below and called from main
// with one line; it answers how many pictures it could not write.

#include <QString>

#include <string>

class QPixmap;
class QWidget;

namespace ch {

class ApplicationShell;
class DocumentWindowFrame;
class GXSideBarControlledViewAncestor;
class DocumentController;
class DocumentWindow;
class UserDefaults;

namespace review {

struct ReviewContext {
    QString output;                   // the folder of the PNGs
    UserDefaults& defaults;           // the application's defaults
    ApplicationShell& shell;          // the application around the documents
    DocumentController& controller;   // its documents, as the application opens them
};

// Lets the event loop run a few turns, so that what was asked shows.
void settle();
// Writes the picture as `file` into the output folder; false when it could
// not be written (said on stderr).
bool save(const QPixmap& picture, const QString& output, const QString& file);
// The same for a PNG of the widget.
bool save(QWidget& widget, const QString& output, const QString& file);
// Closes the books of the window without saving and lets it go, so that
// the next part starts alone.
void closeBooks(const ReviewContext& context, DocumentWindow& window);
// Selects the side-bar row of that title and level (opening the rows above
// it) and answers its page; none when there is no such row.
GXSideBarControlledViewAncestor* selectRow(DocumentWindowFrame& frame, const std::string& title, int level);

// --- the parts
// The start-up choice and the About window.
int reviewStart(const ReviewContext& context);
// The assistant, the document window with every page and main tab, the
// settings window, sheets and questions, over books of a year.
int reviewDocumentWindow(const ReviewContext& context);
// New books without the assistant: Quick Entry at the side bar's default and
// narrowest widths, and the expenses page as it first opens.
int reviewNewBooksLooks(const ReviewContext& context);
// The export sheet, the new owner picked among the contacts, the VAT
// periods with the choice of their length, the accounts' balance bar.
int reviewWaysIn(const ReviewContext& context);
// A small business's books: the VAT listing on its page and printed, the
// currencies page, the owner sheet of a contact, the own-property pie.
int reviewBusinessDay(const ReviewContext& context);

} // namespace review
} // namespace ch
