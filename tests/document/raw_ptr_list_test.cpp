#include "document/raw_ptr_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Node : qvr::common::BaseHook<Node> {
    explicit Node(int value) : value(value) {}
    int value;
};

using List = qvr::common::RawPtrList<Node>;

// Values forward, checked against the backward walk so both link directions agree.
std::string values(const List& list) {
    std::string forward;
    for (Node* n : list)
        forward += std::to_string(n->value);
    std::string backward;
    for (Node* n = list.tail; n; n = n->prev)
        backward.insert(0, std::to_string(n->value));
    EXPECT_EQ(forward, backward);
    if (list.head) {
        EXPECT_EQ(list.head->prev, nullptr);
        EXPECT_EQ(list.tail->next, nullptr);
    } else {
        EXPECT_EQ(list.tail, nullptr);
    }
    return forward;
}

struct Fixture {
    Fixture() {
        for (int i = 1; i <= 3; ++i)
            nodes.emplace_back(i);
        for (auto& n : nodes)
            list.push_back(&n);
    }
    std::vector<Node> nodes; // never grows after the links are made
    List list;
};

TEST(RawPtrList, EmptyList) {
    List list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
    EXPECT_EQ(values(list), "");
}

TEST(RawPtrList, PushBackIntoEmptyAndNonEmpty) {
    Node a(1), b(2);
    List list;
    list.push_back(&a);
    EXPECT_EQ(list.head, &a);
    EXPECT_EQ(list.tail, &a);
    EXPECT_EQ(a.next, nullptr);
    EXPECT_EQ(a.prev, nullptr);
    list.push_back(&b);
    EXPECT_EQ(a.next, &b);
    EXPECT_EQ(b.prev, &a);
    EXPECT_EQ(values(list), "12");
}

TEST(RawPtrList, InsertBeforeEveryPosition) {
    struct Case {
        int before; // 1-based element, 0 = the end position
        const char* expected;
    };
    for (const Case& c : {Case{1, "9123"}, Case{2, "1923"}, Case{3, "1293"}, Case{0, "1239"}}) {
        Fixture f;
        Node extra(9);
        List::RawPtrIterator at =
            c.before ? List::RawPtrIterator(&f.nodes[c.before - 1]) : f.list.end();
        f.list.insert(at, &extra);
        EXPECT_EQ(values(f.list), c.expected) << "before " << c.before;
    }
}

TEST(RawPtrList, InsertIntoEmptyListAtEnd) {
    List list;
    Node a(1);
    list.insert(list.end(), &a);
    EXPECT_EQ(list.head, &a);
    EXPECT_EQ(list.tail, &a);
}

TEST(RawPtrList, UnlinkEveryPosition) {
    struct Case {
        int which;
        const char* expected;
    };
    for (const Case& c : {Case{1, "23"}, Case{2, "13"}, Case{3, "12"}}) {
        Fixture f;
        Node& gone = f.nodes[c.which - 1];
        f.list.unlink(&gone);
        EXPECT_EQ(values(f.list), c.expected) << "unlink " << c.which;
        EXPECT_EQ(gone.next, nullptr);
        EXPECT_EQ(gone.prev, nullptr);
    }
}

TEST(RawPtrList, UnlinkOnlyElementEmptiesList) {
    Node a(1);
    List list;
    list.push_back(&a);
    list.unlink(&a);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(values(list), "");
}

TEST(RawPtrList, UnlinkedElementCanBeLinkedAgain) {
    Fixture f;
    f.list.unlink(&f.nodes[0]);
    f.list.push_back(&f.nodes[0]);
    EXPECT_EQ(values(f.list), "231");
}

TEST(RawPtrList, IteratorsSurviveChangesToOtherElements) {
    Fixture f;
    List::RawPtrIterator at(&f.nodes[1]);
    Node extra(9);
    f.list.insert(at, &extra);
    f.list.unlink(&f.nodes[0]);
    f.list.unlink(&f.nodes[2]);
    EXPECT_EQ(at->value, 2);
    --at;
    EXPECT_EQ(at->value, 9);
    --at;
    EXPECT_EQ(at, f.list.end());
    EXPECT_EQ(values(f.list), "92");
}

TEST(RawPtrList, IteratesBothWays) {
    Fixture f;
    List::RawPtrIterator it = f.list.begin();
    EXPECT_EQ((it++)->value, 1);
    EXPECT_EQ((*it)->value, 2);
    ++it;
    EXPECT_EQ(it->value, 3);
    --it;
    EXPECT_EQ(it->value, 2);
    ++it;
    ++it;
    EXPECT_EQ(it, f.list.end());
    EXPECT_FALSE(it);
}

} // namespace
