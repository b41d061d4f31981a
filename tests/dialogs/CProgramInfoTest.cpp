// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/CProgramInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs the dialog modally and performs `action` once it is up.
template <typename Action> int runWith(CProgramInfo& dialog, Action action) {
  QTimer::singleShot(0, &dialog, [&] { action(dialog); });
  return dialog.exec();
}

QString versionText(CProgramInfo& dialog) {
  return dialog.findChild<QLabel*>(QString::number(CProgramInfo::IDC_VERSION))->text();
}

} // namespace

// Guards against the template's placeholder version reaching the user.
TEST(CProgramInfo, ShowsVersionAndMakerAtEachOpening) {
  CProgramInfo dialog;
  QString shown;
  QString maker;
  runWith(dialog, [&](CProgramInfo& d) {
    shown = versionText(d);
    maker = d.findChild<QTextEdit*>(QString::number(CProgramInfo::IDC_MAKER))->toPlainText();
    d.accept();
  });
  EXPECT_EQ(shown, QStringLiteral("Ver 1.05"));
  EXPECT_EQ(maker.split('\n').size(), 2);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Info"));

  runWith(dialog, [&](CProgramInfo& d) {
    shown = versionText(d);
    d.reject();
  });
  EXPECT_EQ(shown, QStringLiteral("Ver 1.05"));
}

// Every way out closes the dialog; OK and Enter accept, Cancel and Esc reject.
TEST(CProgramInfo, OkCancelEnterAndEscapeClose) {
  CProgramInfo dialog;
  const auto clickButton = [](const char* text) {
    return [text](CProgramInfo& d) {
      for (QPushButton* button : d.findChildren<QPushButton*>())
        if (button->text() == QLatin1String(text))
          button->click();
    };
  };
  const auto pressKey = [](Qt::Key key) { return [key](CProgramInfo& d) { QTest::keyClick(&d, key); }; };
  EXPECT_EQ(runWith(dialog, clickButton("OK")), QDialog::Accepted);
  EXPECT_EQ(runWith(dialog, clickButton("Cancel")), QDialog::Rejected);
  EXPECT_EQ(runWith(dialog, pressKey(Qt::Key_Return)), QDialog::Accepted);
  EXPECT_EQ(runWith(dialog, pressKey(Qt::Key_Escape)), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
}
