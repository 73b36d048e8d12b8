#pragma once
// Choosing an entry of a pop-up as a person does: a click opens the list, a
// click on the entry's row chooses it.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace ch::test {

inline void clickPopupEntry(QComboBox* popup, const QString& entry)
{
    ASSERT_NE(popup, nullptr);
    const int index = popup->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    // The list ignores a release within a double-click time of opening (the
    // release of the opening click): a person's second click comes later.
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(0);
    QTest::mouseClick(popup, Qt::LeftButton);
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
