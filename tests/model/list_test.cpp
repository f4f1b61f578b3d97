#include "model/list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> contents(const List<std::string>& list) {
    std::vector<std::string> items;
    for (std::uint32_t position = 0; position < list.length(); ++position) {
        items.push_back(list.get(position));
    }
    return items;
}

List<std::string> listOf(const std::vector<std::string>& items) {
    List<std::string> list;
    for (const std::string& item : items) {
        list.append(item);
    }
    return list;
}

template <typename Operation>
void expectFailureLeavesListAsItWas(List<std::string>& list, Operation operation, const std::string& message) {
    const std::vector<std::string> before = contents(list);
    try {
        operation();
        FAIL() << "expected: " << message;
    } catch (const Exception& error) {
        EXPECT_EQ(error.message(), message);
    }
    EXPECT_EQ(contents(list), before);
    EXPECT_EQ(list.isEmpty(), before.empty());
}

using Strings = std::vector<std::string>;

TEST(ListTest, PrependAndPopWorkAsAStack) {
    List<std::string> list;
    list.prepend("a");
    list.prepend("b");
    list.prepend("c");
    EXPECT_EQ(list.length(), 3u);
    EXPECT_EQ(list.pop(), "c");
    EXPECT_EQ(list.pop(), "b");
    EXPECT_EQ(list.pop(), "a");
    EXPECT_TRUE(list.isEmpty());
    expectFailureLeavesListAsItWas(
        list, [&] { list.pop(); }, "Can't pop from an empty list.");
}

TEST(ListTest, AppendKeepsOrderAndReverseTurnsItRound) {
    List<std::string> list = listOf({"a", "b", "c"});
    EXPECT_EQ(contents(list), (Strings{"a", "b", "c"}));
    list.reverse();
    EXPECT_EQ(contents(list), (Strings{"c", "b", "a"}));
    EXPECT_EQ(list.length(), 3u);
    list.append("d");
    EXPECT_EQ(contents(list), (Strings{"c", "b", "a", "d"}));
}

TEST(ListTest, ReverseOfEmptyOrSingleListChangesNothing) {
    List<std::string> empty;
    empty.reverse();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.length(), 0u);

    List<std::string> single = listOf({"a"});
    single.reverse();
    EXPECT_EQ(contents(single), (Strings{"a"}));
}

TEST(ListTest, InsertPlacesTheItemAtThePosition) {
    List<std::string> list;
    list.insert("b", 0);
    list.insert("a", 0);
    list.insert("d", 2);
    list.insert("c", 2);
    EXPECT_EQ(contents(list), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(list.length(), 4u);
}

TEST(ListTest, InsertBeyondTheEndFails) {
    List<std::string> list = listOf({"a", "b"});
    expectFailureLeavesListAsItWas(
        list, [&] { list.insert("x", 3); }, "Insertion is beyond end of list.");
    List<std::string> empty;
    expectFailureLeavesListAsItWas(
        empty, [&] { empty.insert("x", 1); }, "Insertion is beyond end of list.");
}

TEST(ListTest, GetBeyondTheEndFails) {
    List<std::string> list = listOf({"a", "b"});
    expectFailureLeavesListAsItWas(
        list, [&] { list.get(2); }, "The element specified is out of bounds.");
    List<std::string> empty;
    expectFailureLeavesListAsItWas(
        empty, [&] { empty.get(0); }, "The element specified is out of bounds.");
}

TEST(ListTest, TakeUnlinksAndReturnsTheElement) {
    List<std::string> list = listOf({"a", "b", "c", "d"});
    EXPECT_EQ(list.take(2), "c");
    EXPECT_EQ(list.take(2), "d");
    EXPECT_EQ(list.take(0), "a");
    EXPECT_EQ(contents(list), (Strings{"b"}));
    EXPECT_EQ(list.length(), 1u);
    // The last node must be reachable again by append after the tail was taken.
    list.append("e");
    EXPECT_EQ(contents(list), (Strings{"b", "e"}));
}

TEST(ListTest, TakeFailsWithThePopMessageAtTheFrontOfAnEmptyList) {
    List<std::string> empty;
    expectFailureLeavesListAsItWas(
        empty, [&] { empty.take(0); }, "Can't pop from an empty list.");
    expectFailureLeavesListAsItWas(
        empty, [&] { empty.take(1); }, "Can't get elements beyond end of list.");
    List<std::string> list = listOf({"a", "b"});
    expectFailureLeavesListAsItWas(
        list, [&] { list.take(2); }, "Can't get elements beyond end of list.");
}

TEST(ListTest, RemoveUnlinksTheNodeAtThePosition) {
    List<std::string> list = listOf({"a", "b", "c", "d"});
    list.remove(3);
    list.remove(1);
    list.remove(0);
    EXPECT_EQ(contents(list), (Strings{"c"}));
    list.remove(0);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.length(), 0u);
}

TEST(ListTest, RemoveBeyondTheEndFails) {
    List<std::string> empty;
    expectFailureLeavesListAsItWas(
        empty, [&] { empty.remove(0); }, "Can't remove elements beyond end of list.");
    List<std::string> list = listOf({"a", "b"});
    expectFailureLeavesListAsItWas(
        list, [&] { list.remove(2); }, "Can't remove elements beyond end of list.");
}

TEST(ListTest, FailuresAreGeneralExceptionsNotProgramErrors) {
    List<std::string> empty;
    try {
        empty.pop();
        FAIL();
    } catch (const std::exception& error) {
        EXPECT_NE(dynamic_cast<const Exception*>(&error), nullptr);
        EXPECT_EQ(dynamic_cast<const NamedError*>(&error), nullptr);
    }
}

TEST(ListTest, ClearEmptiesTheListForReuse) {
    List<std::string> list = listOf({"a", "b", "c"});
    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.length(), 0u);
    list.append("d");
    EXPECT_EQ(contents(list), (Strings{"d"}));
}

TEST(ListTest, UnlinkedNodesReleaseTheirElements) {
    auto element = std::make_shared<int>(7);
    List<std::shared_ptr<int>> list;
    list.prepend(element);
    list.prepend(element);
    list.append(element);
    list.insert(element, 1);
    EXPECT_EQ(element.use_count(), 5);
    list.remove(1);
    EXPECT_EQ(element.use_count(), 4);
    list.take(1);
    list.pop();
    EXPECT_EQ(element.use_count(), 2);
    list.clear();
    EXPECT_EQ(element.use_count(), 1);
}

TEST(ListTest, ListOfPointersNeverDestroysThePointees) {
    std::string owned = "kept";
    {
        List<const std::string*> list;
        list.prepend(&owned);
        list.prepend(&owned);
        list.pop();
    }
    EXPECT_EQ(owned, "kept");
}

TEST(ListTest, MovingHandsOverTheChain) {
    List<std::string> source = listOf({"a", "b"});
    List<std::string> moved(std::move(source));
    EXPECT_EQ(contents(moved), (Strings{"a", "b"}));
    List<std::string> target = listOf({"x", "y", "z"});
    target = std::move(moved);
    EXPECT_EQ(contents(target), (Strings{"a", "b"}));
    EXPECT_EQ(target.length(), 2u);
}

// A chain freed by each node's owner in turn would recurse once per node; ten million nodes are
// far beyond what the stack holds, so these only pass when the chain is released iteratively.
constexpr std::uint32_t longChain = 10'000'000;

void prependLongChain(List<int>& list) {
    for (std::uint32_t item = 0; item < longChain; ++item) {
        list.prepend(static_cast<int>(item));
    }
}

TEST(ListTest, ReversingAndDestroyingAVeryLongListDoesNotOverflowTheStack) {
    List<int> list;
    prependLongChain(list);
    list.reverse();
    EXPECT_EQ(list.get(0), 0);
    EXPECT_EQ(list.length(), longChain);
}

TEST(ListTest, ClearingAVeryLongListDoesNotOverflowTheStack) {
    List<int> list;
    prependLongChain(list);
    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.length(), 0u);
}

TEST(ListTest, MoveAssigningOverAVeryLongListDoesNotOverflowTheStack) {
    List<int> list;
    prependLongChain(list);
    List<int> replacement;
    replacement.prepend(1);
    list = std::move(replacement);
    EXPECT_EQ(list.length(), 1u);
}

}  // namespace
