#include "contacts/DuplicateNames.h"

#include "tests/support/FileText.h"

#include <gtest/gtest.h>

using namespace contacts;

namespace {

// The names as the file stores them.
std::vector<std::string> stored(std::initializer_list<const char*> utf8)
{
    std::vector<std::string> names;
    for (const char* name : utf8)
        names.push_back(cp1252(name));
    return names;
}

std::vector<std::string_view> views(const std::vector<std::string>& names)
{
    return {names.begin(), names.end()};
}

} // namespace

TEST(DuplicateNames, TheAddTestIgnoresCaseOnly)
{
    // The empty name stands for a line without any terminator.
    const auto names = stored({"", "Ana", "Ángel"});
    EXPECT_TRUE(isNameStored(views(names), cp1252("ANA")));
    EXPECT_TRUE(isNameStored(views(names), cp1252("ana")));
    EXPECT_TRUE(isNameStored(views(names), cp1252("ÁNGEL")));
    EXPECT_FALSE(isNameStored(views(names), cp1252("Ana ")));
    EXPECT_FALSE(isNameStored(views(names), cp1252("Angel")));
    EXPECT_FALSE(isNameStored({}, "Ana"));
}

TEST(DuplicateNames, TheModifyTestPassesOverTheContactsOwnName)
{
    const auto names = stored({"ana", "bea", "Ana"});
    EXPECT_FALSE(isNameTakenByAnother(views(names), "ana", "ana"));
    EXPECT_FALSE(isNameTakenByAnother(views(names), "Ana", "ana")); // only capitals changed
    EXPECT_TRUE(isNameTakenByAnother(views(names), "BEA", "ana"));
    EXPECT_FALSE(isNameTakenByAnother(views(names), "Carmen", "ana"));
    EXPECT_TRUE(isNameTakenByAnother(views(names), "ana", "bea"));
}

TEST(DuplicateNames, AChangeOfSeveralNamesKeepsBothRulesAndNeverRepeatsItself)
{
    const auto names = stored({"ana", "Ana", "bea", "Ángel"});
    const auto taken = [&](std::vector<NewName> newNames) {
        return isAnyNameTaken(views(names), newNames);
    };
    EXPECT_FALSE(taken({{"Carla", {}}, {"Dora", {}}}));
    EXPECT_TRUE(taken({{"Carla", {}}, {cp1252("áNGEL"), {}}}));
    // A changed contact that keeps its name, in other capitals, passes over the names equal to it.
    EXPECT_FALSE(taken({{"ANA", "ana"}, {"Carla", {}}}));
    EXPECT_TRUE(taken({{"BEA", "ana"}}));
    // Within the change itself no name comes twice, whichever keeps its own.
    EXPECT_TRUE(taken({{"Carla", {}}, {"CARLA", {}}}));
    EXPECT_TRUE(taken({{"ANA", "ana"}, {"ana", {}}}));
    EXPECT_FALSE(taken({}));
}
