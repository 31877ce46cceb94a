#pragma once
// Waiting in a test for what the event loop brings about. Qt Test's QTRY_* macros only `return`
// from the function when they fail, which GoogleTest never hears of; these end in a GoogleTest
// assertion that names what did not come true.
#include <QTest>
#include <gtest/gtest.h>

// Only keeps a broken test from hanging the suite; no test relies on how long a wait takes.
// The macros below use the name as they find it, so a scope may declare its own.
constexpr int EventuallyGuardMs = 30000;

// Runs the event loop until `condition` holds or `timeoutMs` have passed.
template <typename Condition>
::testing::AssertionResult Eventually(Condition condition, const char *what, int timeoutMs = EventuallyGuardMs)
{
    if (QTest::qWaitFor(condition, timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "still not true after waiting " << timeoutMs << " ms: " << what;
}

#define EXPECT_EVENTUALLY(condition)                                                                   \
    EXPECT_TRUE(Eventually([&] { return bool(condition); }, #condition, EventuallyGuardMs))
#define ASSERT_EVENTUALLY(condition)                                                                   \
    ASSERT_TRUE(Eventually([&] { return bool(condition); }, #condition, EventuallyGuardMs))

// Waits for `actual` to equal `expected`; a failure shows both values.
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                                         \
    do {                                                                                               \
        if (!QTest::qWaitFor([&] { return (actual) == (expected); }, EventuallyGuardMs))               \
            EXPECT_EQ(actual, expected) << "still not equal after waiting " << EventuallyGuardMs << " ms"; \
    } while (false)
