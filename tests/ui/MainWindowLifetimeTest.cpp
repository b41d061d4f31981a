// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"

#include "dialogs/CProgramInfo.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat0.h"

#include <QLabel>
#include <QMenu>
#include <QTimer>

using LifetimeTest = MainWindowFixture;

namespace {

// Ends the window the given way once its modal loop runs; returns its result.
template <typename Ending> int runUntil(CQIRA02Dlg& window, Ending ending) {
  window.hide();
  QTimer::singleShot(0, &window, [&] { ending(window); });
  return window.exec();
}

} // namespace

// A missing player library is only a diagnostic line; the engine still
// stores the video rectangles and knows the position slider.
TEST_F(LifetimeTest, SetUpCreatesTheEngineWithoutAPlayerLibrary) {
  EXPECT_NE(m_startOutput.find("failed to load absent.dll\n"), std::string::npos);
  QIRAAdap* engine = Window().Adapter();
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(engine->NotifyWindow(), &Window());
  EXPECT_EQ(engine->CurrentState(), engine->StateNumbered(0));
  EXPECT_EQ(engine->PositionSlider(), Item(IDC_POSITION_SLIDER));
  EXPECT_EQ(engine->Channels(), 1);
  const player::VideoRect position0 = engine->VideoPosition().channel[0];
  const player::VideoRect position1 = engine->VideoPosition().channel[1];
  const player::VideoRect frame1 = engine->VideoFrame().channel[1];
  EXPECT_EQ((QRect(position0.x, position0.y, position0.width, position0.height)), QRect(20, 110, 640, 480));
  EXPECT_EQ((QRect(position1.x, position1.y, position1.width, position1.height)), QRect(1040, 80, 640, 480));
  EXPECT_EQ((QRect(frame1.x, frame1.y, frame1.width, frame1.height)), QRect(5, 35, 640, 480));
  EXPECT_FALSE(Window().IsRecordingOpen());
}

TEST_F(LifetimeTest, ExitButtonEndsWithOkAndClosesTheRecording) {
  const int result = runUntil(Window(), [this](CQIRA02Dlg&) {
    Button(IDC_PLAY)->click();
    Button(IDC_EXIT)->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_FALSE(Window().IsRecordingOpen());
}

TEST_F(LifetimeTest, EscapeAndCloseEndWithCancel) {
  EXPECT_EQ(runUntil(Window(), [](CQIRA02Dlg& w) { QTest::keyClick(&w, Qt::Key_Escape); }), QDialog::Rejected);
  EXPECT_EQ(runUntil(Window(), [](CQIRA02Dlg& w) { w.close(); }), QDialog::Rejected);
}

// Enter ends the program only when no button has the focus; on a focused
// button it presses that button.
TEST_F(LifetimeTest, EnterEndsWithOkUnlessAButtonHasTheFocus) {
  EXPECT_EQ(runUntil(Window(),
                     [this](CQIRA02Dlg& w) {
                       Item(IDC_VOLUME_SLIDER)->setFocus();
                       QTest::keyClick(&w, Qt::Key_Return);
                     }),
            QDialog::Accepted);

  const int result = runUntil(Window(), [this](CQIRA02Dlg& w) {
    Item(IDC_FASTER)->setFocus();
    QTest::keyClick(&w, Qt::Key_Enter, Qt::KeypadModifier);
    w.reject();
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_EQ(static_cast<QLabel*>(Item(IDC_SPEED))->text(), QStringLiteral("x2"));
}

// The Info button and the background menu's About entry open the same dialog.
TEST_F(LifetimeTest, InfoAndAboutShowTheProgramInformation) {
  const auto versionOfActiveDialog = [] {
    auto* info = qobject_cast<CProgramInfo*>(QApplication::activeModalWidget());
    QString text = info ? info->findChild<QLabel*>(QString::number(CProgramInfo::IDC_VERSION))->text() : QString();
    if (info)
      info->accept();
    return text;
  };
  QString shown;
  QTimer::singleShot(0, [&] { shown = versionOfActiveDialog(); });
  Button(IDC_INFO)->click();
  EXPECT_EQ(shown, QStringLiteral("Ver 1.05"));

  shown.clear();
  QTimer::singleShot(0, [&] { shown = versionOfActiveDialog(); });
  Window().SystemMenu()->actions().last()->trigger();
  EXPECT_EQ(shown, QStringLiteral("Ver 1.05"));
}
