// The item base: bound and detached answers, texts cut for the model, status
// toggles, menus and the dictionary form.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "bridge/CNonVisualDataItem.h"
#include "bridge_test_support.h"
#include "model/CNonVisual.h"

namespace ch::test {
namespace {

// A model object of a chosen kind.
class TypedObject : public CNonVisual {
public:
    TypedObject(FourCharCode type, ObjectIdT id) : CNonVisual(id) { SetObjectType(type); }
};

class DataItemTest : public ::testing::Test {
protected:
    BridgeEnvironment environment;
};

std::string modelName(const CNonVisual& object)
{
    char name[kNameSize] = {};
    object.Get_Name(name);
    return name;
}

TEST_F(DataItemTest, LongNameIsCutInTheModelFieldButKeptWhole)
{
    auto object = std::make_unique<CNonVisual>(5);
    auto item = std::make_shared<CNonVisualDataItem>(object.get());
    const std::string name(40, 'n');

    item->setGetName(name);

    EXPECT_EQ(modelName(*object), std::string(34, 'n'));
    EXPECT_EQ(item->getName(), name);
    item->setGetName(std::nullopt);   // none is ignored
    EXPECT_EQ(item->getName(), name);
}

TEST_F(DataItemTest, DescriptionOf255CharactersIsCutTo254)
{
    auto object = std::make_unique<CNonVisual>(5);
    auto item = std::make_shared<CNonVisualDataItem>(object.get());

    item->setDescriptionSelf(std::string(254, 'd'));
    EXPECT_EQ(object->Get_StringrefDesc().size(), 254u);

    item->setDescriptionSelf(std::string(255, 'e'));
    EXPECT_EQ(object->Get_StringrefDesc(), std::string(254, 'e'));
    object.reset();
    EXPECT_EQ(item->descriptionSelf(), std::string(254, 'e'));   // the kept copy is the cut text
}

TEST_F(DataItemTest, StatusTogglesCycleThroughCheckedFlaggedAndNone)
{
    auto object = std::make_unique<CNonVisual>(5);
    auto item = std::make_shared<CNonVisualDataItem>(object.get());
    item->setObjectStatus(0);

    item->toggleStatus();
    EXPECT_EQ(item->objectStatus(), 9);
    item->toggleStatus();
    EXPECT_EQ(item->objectStatus(), 7);
    item->toggleStatus();
    EXPECT_EQ(item->objectStatus(), 0);

    item->toggleFlag();
    EXPECT_EQ(object->Get_ObjectStatus(), 7);
    item->toggleFlag();
    EXPECT_EQ(object->Get_ObjectStatus(), 0);
}

TEST_F(DataItemTest, ItemOfADestroyedObjectAnswersFromItsKeptValues)
{
    auto object = std::make_unique<CNonVisual>(5);
    object->Put_Status(9);
    auto item = std::make_shared<CNonVisualDataItem>(object.get());
    item->setGetName("Savings");
    int nameAnnouncements = 0;
    Subscription watch = item->observe("getName", [&](Observable&, const std::string&) { ++nameAnnouncements; });

    object.reset();

    EXPECT_EQ(item->getSourceItem(), nullptr);
    EXPECT_EQ(item->getName(), "Savings");
    EXPECT_EQ(item->getId(), 5);
    EXPECT_EQ(item->objectStatus(), 0);
    EXPECT_EQ(item->calculateKey(), "");
    EXPECT_EQ(item->description(), "Deleted item");
    item->toggleStatus();   // touches no model
    item->setGetName("Renamed");
    EXPECT_EQ(item->getName(), "Renamed");
    EXPECT_EQ(nameAnnouncements, 1);
}

TEST_F(DataItemTest, ModelNameChangesAreAnnounced)
{
    auto object = std::make_unique<CNonVisual>(5);
    auto item = std::make_shared<CNonVisualDataItem>(object.get());
    int announcements = 0;
    Subscription watch = item->observe("getName", [&](Observable&, const std::string&) { ++announcements; });

    object->Put_Name("Other");

    EXPECT_GE(announcements, 1);
    EXPECT_EQ(item->getName(), "Other");
}

TEST_F(DataItemTest, RowHeightDefaultsTo17AndDoublesForFirstLevelHeaders)
{
    auto header = std::make_shared<CNonVisualDataItem>();
    EXPECT_EQ(header->headerLevel(), -1);
    EXPECT_DOUBLE_EQ(header->objectRowHeight(), 17.0);

    header->setObjectRowHeight(0.0);
    header->setHeaderLevel(1);
    EXPECT_TRUE(header->isLevel1Header());
    EXPECT_DOUBLE_EQ(header->objectRowHeight(), 34.0);
    EXPECT_DOUBLE_EQ(header->getStyleAttributesForObject().paragraphSpacingBefore, 17.0);
}

TEST_F(DataItemTest, MenuValidationByTag)
{
    TypedObject account(fourCC("AcnT"), 3);
    account.Put_Name("Bank");
    TypedObject category(fourCC("ExpT"), 4);
    category.Put_Name("Food");
    auto accountItem = std::make_shared<CNonVisualDataItem>(&account);
    auto categoryItem = std::make_shared<CNonVisualDataItem>(&category);
    auto header = std::make_shared<CNonVisualDataItem>();

    struct Case {
        const CNonVisualDataItem* item;
        int tag;
        bool enabled;
        std::optional<std::string> title;
    };
    const Case cases[] = {
        {header.get(), 1110, true, std::nullopt},
        {header.get(), 1100, false, std::nullopt},
        {accountItem.get(), 12, true, std::nullopt},
        {accountItem.get(), 13, false, std::nullopt},
        {accountItem.get(), 1100, true, "New Object..."},
        {accountItem.get(), 1104, true, "Delete 'Bank'"},
        {accountItem.get(), 1105, false, "No nested objects"},
        {accountItem.get(), 1106, false, "No nested folders"},
        {accountItem.get(), 1111, true, "Transfer from Bank"},
        {accountItem.get(), 1112, true, "Transfer to Bank"},
        {accountItem.get(), 1113, false, "Book for Bank"},
        {categoryItem.get(), 1113, true, "Book for Food"},
        {categoryItem.get(), 1111, false, "Transfer from Food"},
        {accountItem.get(), 1114, true, "Modify 'Bank'"},
        {accountItem.get(), 1107, false, std::nullopt},
        {accountItem.get(), 1115, false, std::nullopt},
    };
    for (const Case& c : cases) {
        const MenuItemValidation answer = c.item->validateMenuItem(c.tag);
        EXPECT_EQ(answer.enabled, c.enabled) << "tag " << c.tag;
        EXPECT_EQ(answer.title, c.title) << "tag " << c.tag;
    }
}

TEST_F(DataItemTest, SynchronizeKeepsTheIdOfABoundItem)
{
    auto object = std::make_unique<CNonVisual>(5);
    auto bound = std::make_shared<CNonVisualDataItem>(object.get());
    auto other = std::make_shared<CNonVisualDataItem>();
    other->setGetName("Copied");
    other->setGetId(12);

    bound->synchronizeWithObject(*other);
    EXPECT_EQ(bound->getId(), 5);
    EXPECT_EQ(bound->getName(), "Copied");

    auto detached = std::make_shared<CNonVisualDataItem>();
    detached->synchronizeWithObject(*other);
    EXPECT_EQ(detached->getId(), 12);
}

TEST_F(DataItemTest, DictionaryFormLeavesOutAnEmptyDescription)
{
    TypedObject account(fourCC("AcnT"), 3);
    auto item = std::make_shared<CNonVisualDataItem>(&account);
    item->setGetName("Bank");

    Dictionary plain = item->dictionaryRepresentation();
    EXPECT_EQ(plain["ObjectType"], Value("AcnT"));
    EXPECT_EQ(plain["ObjectName"], Value("Bank"));
    EXPECT_FALSE(plain.contains("ObjectDescription"));

    item->setDescriptionSelf("Daily");
    EXPECT_EQ(item->dictionaryRepresentation()["ObjectDescription"], Value("Daily"));
    EXPECT_FALSE(item->initWithDictionaryRepresentation(plain));
}

} // namespace
} // namespace ch::test
