// The list wrappers: 1-based access with one kept item, enumeration, and a
// kept index that never answers another element.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bridge/CArrayEncapsulator.h"
#include "bridge_test_support.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"

namespace ch::test {
namespace {

class ArrayWrapperTest : public ::testing::Test {
protected:
    ArrayWrapperTest()
    {
        for (ObjectIdT id : {11, 12, 13}) {
            objects.push_back(std::make_unique<CNonVisual>(id));
            list->AppendObject(objects.back().get());
        }
        wrapper->setArray(list.get());
    }

    BridgeEnvironment environment;
    std::vector<std::unique_ptr<CNonVisual>> objects;
    std::unique_ptr<CNamedListArray> list = std::make_unique<CNamedListArray>();
    std::shared_ptr<CArrayEncapsulator> wrapper = std::make_shared<CArrayEncapsulator>();
};

TEST_F(ArrayWrapperTest, IndexesCountFromOne)
{
    EXPECT_EQ(wrapper->count(), 3u);
    EXPECT_EQ(wrapper->getObjectAtIndex(0), nullptr);
    EXPECT_EQ(wrapper->getObjectAtIndex(1)->getId(), 11);
    EXPECT_EQ(wrapper->getObjectAtIndex(3)->getId(), 13);
    EXPECT_EQ(wrapper->getObjectAtIndex(4), nullptr);

    auto first = wrapper->objectAtIndex(1);
    EXPECT_EQ(wrapper->objectAtIndex(1), first);   // no new item for the same element
}

TEST_F(ArrayWrapperTest, EnumerationAnswersEachElementInOrderThenNothing)
{
    auto enumerator = wrapper->objectEnumerator();
    std::vector<long> ids;
    while (auto item = enumerator->nextObject()) ids.push_back(item->getId().value_or(-1));
    EXPECT_EQ(ids, (std::vector<long>{11, 12, 13}));
    EXPECT_EQ(enumerator->nextObject(), nullptr);

    // A second enumerator restarts the one iterator of the wrapper.
    auto again = wrapper->objectEnumerator();
    EXPECT_EQ(again->nextObject()->getId(), 11);
    EXPECT_EQ(enumerator->nextObject()->getId(), 12);
}

TEST_F(ArrayWrapperTest, KeptIndexNeverAnswersAnotherElement)
{
    EXPECT_EQ(wrapper->getObjectAtIndex(2)->getId(), 12);
    auto enumerator = wrapper->objectEnumerator();
    EXPECT_EQ(enumerator->nextObject()->getId(), 11);   // replaces the kept item
    EXPECT_EQ(wrapper->getObjectAtIndex(2)->getId(), 12);

    // Elements moved without a word (a sort), then an insertion.
    list->SwapItems(1, 2);
    EXPECT_EQ(wrapper->getObjectAtIndex(2)->getId(), 11);
    auto added = std::make_unique<CNonVisual>(10);
    list->InsertObjectAt(added.get(), 1);
    EXPECT_EQ(wrapper->getObjectAtIndex(2)->getId(), 12);
    list->RemoveObject(added.get());
}

TEST_F(ArrayWrapperTest, ListDestroyedFirstLeavesAnEmptyWrapper)
{
    auto kept = wrapper->getObjectAtIndex(1);
    list.reset();

    EXPECT_EQ(wrapper->count(), 0u);
    EXPECT_EQ(wrapper->getObjectAtIndex(1), nullptr);
    EXPECT_EQ(wrapper->objectEnumerator()->nextObject(), nullptr);
    wrapper.reset();   // must not reach the freed list
    EXPECT_EQ(kept->getId(), 11);
}

TEST_F(ArrayWrapperTest, ObjectWrapperForgetsADestroyedObject)
{
    auto object = std::make_unique<CNonVisual>(21);
    object->Put_Name("Cash");
    CNonVisualEncapsulator encapsulator(object.get());
    EXPECT_EQ(encapsulator.getName(), "Cash");
    EXPECT_EQ(encapsulator.getId(), 21);

    object.reset();
    EXPECT_EQ(encapsulator.getName(), "NoSourceItem");
    EXPECT_EQ(encapsulator.getId(), -1);
    EXPECT_EQ(CNonVisualEncapsulator().getId(), -1);
}

} // namespace
} // namespace ch::test
