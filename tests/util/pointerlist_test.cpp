#include <gtest/gtest.h>

#include <cstdlib>

#include "util/pointerlist.h"

using util::CLIST;
using util::CLISTOBJ;
using util::COBJ;

namespace {

int g_destroyed = 0;
struct Tracked : COBJ {
    ~Tracked() override { ++g_destroyed; }
};

int tag(int n) { return n; }
void* ptr(int& n) { return &n; }

TEST(PointerList, InsertRemoveAndPositions)
{
    int a = tag(1), b = tag(2), c = tag(3), d = tag(4), outsider = tag(5);
    CLIST list(4, 4);
    list.insert(ptr(a));
    list.insert(ptr(b), 7);   // beyond the count: appended
    list.insert(ptr(c), -1);  // negative: appended
    list.insert(ptr(d), 0);   // front: the others move up
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.at(0), &d);
    EXPECT_EQ(list.at(1), &a);
    EXPECT_EQ(list.at(3), &c);

    list.remove(&outsider);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.removeAt(-1), nullptr);
    EXPECT_EQ(list.removeAt(4), nullptr);
    EXPECT_EQ(list.count(), 4);

    list.remove(&a);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(1), &b);
    EXPECT_EQ(list.removeAt(0), &d);
    EXPECT_EQ(list.at(0), &b);
    list.clear();  // forgets without deleting the (stack) elements
    EXPECT_EQ(list.count(), 0);
}

TEST(PointerList, GrowsByStepAndUpdatesMirror)
{
    int values[3] = {};
    CLIST list(2, 3);
    void* const* mirror = nullptr;
    list.setStorageMirror(&mirror);
    void* const* first = mirror;
    EXPECT_EQ(first, list.storage());
    for (int& v : values)
        list.insert(&v);
    EXPECT_EQ(list.capacity(), 5);
    EXPECT_EQ(mirror, list.storage());
    EXPECT_EQ(mirror[2], &values[2]);
    list.clear();
}

TEST(PointerList, ImpossibleStorageRaisesChybaList)
{
    try {
        CLIST list(-1, 1);
        FAIL() << "no exception";
    } catch (const util::ListError& e) {
        EXPECT_STREQ(e.what(), "Chyba LIST");
    }
}

TEST(PointerList, DeletingReleasesElements)
{
    g_destroyed = 0;
    {
        CLISTOBJ list(1, 1);
        auto* first = new Tracked;
        list.insert(first);
        list.insert(new Tracked);
        list.insert(new Tracked);
        list.deleteElement(first);
        EXPECT_EQ(g_destroyed, 1);
        list.deleteAt(0);
        EXPECT_EQ(g_destroyed, 2);
        COBJ stranger;
        list.deleteElement(&stranger);  // not in the list: nothing happens
        EXPECT_EQ(list.count(), 1);
    }
    EXPECT_EQ(g_destroyed, 3) << "the list destroys what it still holds";

    CLIST blocks(2, 2);
    blocks.insert(std::malloc(16));
    blocks.insert(std::malloc(16));
    blocks.deleteAll();
    EXPECT_EQ(blocks.count(), 0);
    EXPECT_EQ(blocks.at(0), nullptr);
    blocks.insert(std::malloc(8));  // released by the destructor (checked under the sanitizers)
}

}  // namespace
