#pragma once
// What the classic layout's outlines ask of their document: the sheet that
// changes a row's object, the sheet that makes an object beside or inside a
// row, the transaction sheet for a row, and deleting a row.
//
// Every change ends in one of the document's numbered commands, so it is
// journaled and marks the books edited: a row is deleted through the
// deletion command, which asks first.
//
// Making an object relative to a reference row:
//   account type  below, not a group: a new account of that type;
//                 otherwise a new account type inside it (below) or beside
//                 it (a top-level type gets a new top-level type);
//   account       a new account of the same type;
//   category      a new category in the same group;
//   group         below, not a group: a new category in it; otherwise a new
//                 group inside it (below) or beside it (likewise).
// Other rows open nothing.

#include "ui/outlines/CNonVisualOutlineView.h"

namespace ch {

class WindowDocument;

class DocumentOutlineDelegate : public OutlineViewDelegate {
public:
    // The document is not owned.
    explicit DocumentOutlineDelegate(WindowDocument& document) : mDocument(document) {}

    void deleteObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView* table) override;
    void modifyObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView* table) override;
    // Whether a sheet opened.
    bool insertObjectWithReferenceNode(const CNonVisualDataItem::Ptr& reference, bool below,
                                       QAbstractItemView* table, bool asGroup) override;
    void askTransactionInput(CNonVisual* fromAccount, CNonVisual* toAccount, CNonVisual* category,
                             int type) override;

private:
    WindowDocument& mDocument;
};

} // namespace ch
