#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <functional>
#include <memory>
#include <ostream>

#include "library/process_form.h"
#include "transfer/export_form.h"

namespace {

struct Part {
  const char* name;
  const char* className;
  const char* caption;
};

struct FormCase {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
  const char* title;
  QSize clientSize;
  std::vector<Part> parts;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

QString Caption(const QObject* o) {
  if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
  if (auto* l = qobject_cast<const QLabel*>(o)) return l->text();
  return {};
}

class ProgressForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(ProgressForms, AreNamedAndCaptioned) {
  const FormCase& c = GetParam();
  std::unique_ptr<QWidget> form = c.make();
  EXPECT_EQ(form->objectName(), QString::fromLatin1(c.name));
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8(c.title));
  for (const Part& part : c.parts) {
    auto* w = form->findChild<QWidget*>(QString::fromLatin1(part.name));
    ASSERT_NE(w, nullptr) << part.name;
    EXPECT_TRUE(w->inherits(part.className)) << part.name;
    EXPECT_EQ(Caption(w), QString::fromUtf8(part.caption)) << part.name;
  }
}

TEST_P(ProgressForms, StayOnTopWithoutTitleBarButtons) {
  std::unique_ptr<QWidget> form = GetParam().make();
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_P(ProgressForms, ALongStatusLineDoesNotWidenTheWindow) {
  const FormCase& c = GetParam();
  std::unique_ptr<QWidget> form = c.make();
  form->show();
  QApplication::processEvents();
  EXPECT_EQ(form->width(), c.clientSize.width());
  EXPECT_GE(form->height(), c.clientSize.height());
  const int height = form->height();
  auto* label = form->findChild<QLabel*>(QStringLiteral("ProcessLabel"));
  ASSERT_NE(label, nullptr);
  label->setText(QStringLiteral("/home/user/Music/") + QString(300, QLatin1Char('x')));
  QApplication::processEvents();
  EXPECT_EQ(form->width(), c.clientSize.width());
  EXPECT_EQ(form->height(), height);
}

INSTANTIATE_TEST_SUITE_P(Table, ProgressForms,
                         ::testing::Values(FormCase{"ProcessForm",
                                                    [] { return std::make_unique<TProcessForm>(); },
                                                    "進行状況",
                                                    {437, 56},
                                                    {{"ProcessLabel", "QLabel", ""},
                                                     {"Button", "QPushButton", "キャンセル"}}},
                                           FormCase{"ExportForm",
                                                    [] { return std::make_unique<TExportForm>(); },
                                                    "ファイル転送",
                                                    {437, 80},
                                                    {{"ProcessLabel", "QLabel", ""},
                                                     {"ProgressBar", "QProgressBar", ""},
                                                     {"Button", "QPushButton", "キャンセル"}}}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ProgressFormsAccessors, ReachTheNamedParts) {
  TProcessForm process;
  EXPECT_EQ(process.ProcessLabel()->objectName(), QStringLiteral("ProcessLabel"));
  EXPECT_EQ(process.Button()->objectName(), QStringLiteral("Button"));

  TExportForm transfer;
  EXPECT_EQ(transfer.ProcessLabel()->objectName(), QStringLiteral("ProcessLabel"));
  EXPECT_EQ(transfer.Button()->objectName(), QStringLiteral("Button"));
  EXPECT_EQ(transfer.ProgressBar()->objectName(), QStringLiteral("ProgressBar"));
  EXPECT_EQ(transfer.ProgressBar()->minimum(), 0);
  EXPECT_EQ(transfer.ProgressBar()->maximum(), 100);
  EXPECT_EQ(transfer.ProgressBar()->value(), 0);
}

}  // namespace
