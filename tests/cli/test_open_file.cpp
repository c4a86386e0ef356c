#include "cli/Commands.h"

#include <QDir>
#include <gtest/gtest.h>

// What the desktop passes when a package is opened with the program, beside what must still
// reach the commands or be ignored as before.
TEST(OpenFile, OnlyAFirstArgumentThatIsNoCommandNorOptionIsAFileToOpen)
{
    const QString here = QDir::currentPath();
    const struct
    {
        QStringList arguments;
        QString file;
    } cases[] = {
        {{"lanyan"}, {}},
        {{"lanyan", "print", "--template", "1"}, {}},
        {{"lanyan", "serve"}, {}},
        {{"lanyan", "--help"}, {}},
        {{"lanyan", "--unknown", "a.lyb"}, {}},
        {{"lanyan", "/home/张三/票据/中国银行.lyb"}, "/home/张三/票据/中国银行.lyb"},
        // Relative to where it was started, whatever folder the program later works in.
        {{"lanyan", "模板 甲.lyb"}, here + "/模板 甲.lyb"},
        // A file that happens to bear a command's name is still a file.
        {{"lanyan", "./print"}, here + "/print"},
        {{"lanyan", "notes.txt"}, here + "/notes.txt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(Commands::fileToOpen(c.arguments), c.file);
    }
}
