#include "base/CappedChild.h"

#include <QStringList>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// Takes memory a block at a time, touching it, until the block count says 8 GB.
int allocateWithoutEnd()
{
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 256; ++i) {
        blocks.emplace_back(new char[32 << 20]);
        std::memset(blocks.back().get(), 1, 32 << 20);
    }
    return 0;
}

} // namespace

TEST(CappedChild, WorkRunsApartAndItsLimitsStopIt)
{
    // The time limit stays far beyond what quick work takes on a loaded machine; only the
    // child that never ends meets its own, short one.
    const CappedChild::Limits small{qint64(256) << 20, 600, qint64(1) << 20};
    const CappedChild::Outcome done = CappedChild::run([] { return 0; }, small);
    EXPECT_TRUE(done.succeeded());
    const CappedChild::Outcome refused = CappedChild::run([] { return 3; }, small);
    EXPECT_EQ(refused.end, CappedChild::End::Exited);
    EXPECT_EQ(refused.code, 3);

    // What the child takes is not the program's: the program goes on, told why. The address
    // space limit or the watch on the resident size stops it, whichever the allocator meets.
    const CappedChild::Outcome blownUp = CappedChild::run(allocateWithoutEnd, small);
    EXPECT_NE(blownUp.end, CappedChild::End::NotStarted);
    EXPECT_FALSE(blownUp.succeeded());
    EXPECT_TRUE(QStringList({"读取时占用内存过多", "读取进程异常终止"})
                    .contains(CappedChild::explain(blownUp)))
        << CappedChild::explain(blownUp).toStdString();

    CappedChild::Limits brief = small;
    brief.seconds = 1;
    const CappedChild::Outcome hung = CappedChild::run(
        [] {
            for (;;)
                pause();
            return 0;
        },
        brief);
    EXPECT_FALSE(hung.succeeded());
    EXPECT_EQ(CappedChild::explain(hung), QStringLiteral("读取超时"));
}
