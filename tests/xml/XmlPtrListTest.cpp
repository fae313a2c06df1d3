#include "xml/XmlPtrList.h"
#include "xml/XmlNode.h"
#include "xml/XmlNodeArray.h"

#include <gtest/gtest.h>

namespace {

int values[6] = {0, 1, 2, 3, 4, 5};

TEST(XmlPtrList, InsertRemoveAndIndexRules) {
    CXmlPtrList list;
    EXPECT_EQ(list.GetAt(0), nullptr);
    list.Add(&values[1]);
    list.Add(&values[3]);
    list.InsertAt(1, &values[2]);
    list.InsertAt(0, &values[0]);
    list.InsertAt(99, &values[4]);
    ASSERT_EQ(list.GetCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list.GetAt(i), &values[i]);
    }
    EXPECT_EQ(list.GetAt(-3), &values[0]) << "an index below 0 yields the first entry";
    EXPECT_EQ(list.GetAt(5), nullptr);
    list.RemoveAt(0);
    list.RemoveAt(3);
    list.RemoveAt(7);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0), &values[1]);
    EXPECT_EQ(list.GetAt(2), &values[3]);
    list.Add(&values[5]);
    EXPECT_EQ(list.GetAt(3), &values[5]);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    list.Add(&values[2]);
    EXPECT_EQ(list.GetAt(0), &values[2]);
}

TEST(XmlNodeArray, KeysAreTrimmedLoweredCopies) {
    CXmlNode a;
    CXmlNode b;
    CXmlNodeArray array;
    EXPECT_EQ(array.Add(" PlanKey\t", &a), 1);
    EXPECT_EQ(array.Add("OTHER", &b), 2);
    CXmlString key;
    EXPECT_EQ(array.GetAt(0, &key), &a);
    EXPECT_TRUE(key.Equals("plankey"));
    EXPECT_EQ(array.GetAt(1, &key), &b);
    EXPECT_TRUE(key.Equals("other"));
    EXPECT_EQ(array.GetAt(2, &key), nullptr);
    EXPECT_TRUE(array.RemoveAt(0));
    EXPECT_FALSE(array.RemoveAt(1));
    EXPECT_EQ(array.GetAt(0), &b);
    array.RemoveAll();
    EXPECT_EQ(array.GetCount(), 0);
}

} // namespace
