#pragma once
// Choosing an entry of a pop-up as a person does: a click opens the list (on
// the arrow of a pop-up one can also type into), a click on the entry's row
// chooses it.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace ch::test {

// Where a click opens the list: anywhere on a plain pop-up, on the arrow of
// one with a text field (a click on the field only places the cursor).
inline QPoint popupOpeningPoint(const QComboBox& popup)
{
    if (!popup.isEditable()) return popup.rect().center();
    QStyleOptionComboBox option;
    option.initFrom(&popup);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    return popup.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &popup).center();
}

inline void clickPopupEntry(QComboBox* popup, const QString& entry)
{
    ASSERT_NE(popup, nullptr);
    const int index = popup->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    // The list ignores a release within a double-click time of opening (the
    // release of the opening click): a person's second click comes later.
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(0);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popupOpeningPoint(*popup));
    QApplication::processEvents();
    QApplication::setDoubleClickInterval(interval);
    QAbstractItemView* list = popup->view();
    ASSERT_TRUE(list->isVisible()) << "the list did not open";
    const QModelIndex row = list->model()->index(index, popup->modelColumn(), list->rootIndex());
    list->scrollTo(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    QApplication::processEvents();
    EXPECT_EQ(popup->currentIndex(), index) << entry.toStdString();
}

} // namespace ch::test
