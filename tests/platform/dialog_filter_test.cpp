#include "platform/dialog_filter.h"

#include <gtest/gtest.h>

namespace {

TEST(QtNameFilters, KeepsCaptionsAndTranslatesPatterns) {
  EXPECT_EQ(
      QtNameFilters(QString::fromUtf8("QUOM File List(*.qfl)|*.qfl|すべてのファイル(*.*)|*.*")),
      (QStringList{"QUOM File List(*.qfl)", QString::fromUtf8("すべてのファイル(*.*) (*)")}));
  EXPECT_EQ(QtNameFilters("Playlists|*.m3u;*.pls"), (QStringList{"Playlists (*.m3u *.pls)"}));
  EXPECT_EQ(QtNameFilters(QStringLiteral("Lists|*.m3u;*.pls|Text(*.txt)|*.txt")),
            QStringList({"Lists (*.m3u *.pls)", "Text(*.txt)"}));
  EXPECT_EQ(QtNameFilters(QStringLiteral("Odd|")), QStringList({"Odd (*)"}));
  EXPECT_EQ(QtNameFilters("Caption without patterns"), QStringList());
  EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
}

}  // namespace
