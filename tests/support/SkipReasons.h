#pragma once

#include <gtest/gtest.h>
#include <iostream>

// A test may skip only saying why it cannot run here; a bare skip would hide a test that never
// runs, so it fails the program.
class SkipReasons : public ::testing::EmptyTestEventListener
{
public:
    void OnTestPartResult(const ::testing::TestPartResult &result) override
    {
        if (!result.skipped() || *result.message())
            return;
        ++m_unexplained;
        std::cerr << result.file_name() << ':' << result.line_number()
                  << ": a test skipped without saying why\n";
    }
    bool allExplained() const { return m_unexplained == 0; }

private:
    int m_unexplained = 0;
};

// Runs every test; fails when one failed or skipped without a reason.
inline int runAllTests()
{
    auto *reasons = new SkipReasons; // owned by the listener list
    ::testing::UnitTest::GetInstance()->listeners().Append(reasons);
    const int failed = RUN_ALL_TESTS();
    return failed ? failed : (reasons->allExplained() ? 0 : 1);
}
