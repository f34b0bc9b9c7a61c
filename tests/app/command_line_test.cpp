#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/temp_dir.h"

namespace {

struct CommandLineCase {
  QStringList arguments;
  QString profile;  // the profile afterwards, starting from "quomm3u"
};

void PrintTo(const CommandLineCase& c, std::ostream* os) {
  *os << c.arguments.join(u' ').toStdString();
}

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, SelectsTheProfileAndKeepsEveryArgument) {
  const CommandLineCase& c = GetParam();
  QString appName = QStringLiteral("quomm3u");
  EXPECT_EQ(ReadCommandLine(c.arguments, appName), c.arguments);
  EXPECT_EQ(appName, c.profile);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLine,
    ::testing::Values(CommandLineCase{{"/xy"}, "xy"}, CommandLineCase{{"-ab"}, "ab"},
                      CommandLineCase{{"/ab"}, "ab"},
                      CommandLineCase{{"-a"}, "quomm3u"},  // two characters: only a path
                      CommandLineCase{{"-ab", "-cd"}, "cd"},
                      CommandLineCase{{"-ab", "/music/x.m3u"}, "ab"},
                      // An absolute path is not a switch, nor is an existing top folder.
                      CommandLineCase{{"/home/me/album.m3u"}, "quomm3u"},
                      CommandLineCase{{"/usr"}, "quomm3u"},
                      CommandLineCase{{"-../../etc"}, "quomm3u"}, CommandLineCase{{}, "quomm3u"}));

TEST(CommandLine, SymbolicLinksAreReplacedByTheirTargets) {
  testing_support::TempDir dir;
  const QString target = dir.write("album/a.m3u", "x");
  ASSERT_TRUE(QFile::link(target, dir.file("link.m3u")));
  ASSERT_TRUE(QFile::link(dir.file("gone.m3u"), dir.file("dangling.m3u")));
  QString appName = QStringLiteral("quomm3u");
  const QStringList paths =
      ReadCommandLine({dir.file("link.m3u"), dir.file("dangling.m3u"), target}, appName);
  EXPECT_EQ(paths, QStringList({QFileInfo(target).canonicalFilePath(), QString(), target}));
}

}  // namespace
