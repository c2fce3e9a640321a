#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "testing/ScriptedPlatform.h"

namespace platform {
namespace {

using Kind = ScriptedPlatform::Kind;

TEST(ScriptedPlatformTest, QuestionsTakeQueuedAnswersInOrderThenSayNo) {
  ScriptedPlatform scripted;
  scripted.QueueAnswer(Answer::kYes);
  scripted.QueueAnswer(Answer::kOk);
  scripted.QueueAnswer(Answer::kCancel);
  EXPECT_EQ(scripted.Pending(), 3);
  EXPECT_EQ(scripted.AskYesNo(QStringLiteral("Add another invoice?")), Answer::kYes);
  EXPECT_EQ(scripted.AskOkCancel(QStringLiteral("Erase?")), Answer::kOk);
  EXPECT_EQ(scripted.WarnOkCancel(QStringLiteral("Really?")), Answer::kCancel);
  EXPECT_EQ(scripted.Unanswered(), 0);
  // Nothing left: the safe answers, counted so a test can notice.
  EXPECT_EQ(scripted.AskYesNo(QStringLiteral("More?")), Answer::kNo);
  EXPECT_EQ(scripted.AskOkCancel(QStringLiteral("More?")), Answer::kCancel);
  EXPECT_EQ(scripted.WarnOkCancel(QStringLiteral("More?")), Answer::kCancel);
  EXPECT_EQ(scripted.Unanswered(), 3);
  EXPECT_EQ(scripted.Pending(), 0);
}

TEST(ScriptedPlatformTest, RecordsEveryTextAsGivenInOrder) {
  ScriptedPlatform scripted;
  const QString fatal = QStringLiteral("Unable to open file CUST5\r\nProgram will now terminate.");
  scripted.Inform(fatal);
  scripted.AskYesNo(QStringLiteral("Add another invoice?"));
  QString entry;
  scripted.InputBox(QStringLiteral("Invoice"), QStringLiteral("First invoice number"),
                    QStringLiteral("1"), &entry);
  EXPECT_EQ(scripted.Said(), (QStringList{fatal, QStringLiteral("Add another invoice?"),
                                          QStringLiteral("First invoice number")}));
  ASSERT_EQ(scripted.Requests().size(), 3u);
  EXPECT_EQ(scripted.Requests()[0].kind, Kind::kInform);
  EXPECT_EQ(scripted.Requests()[1].kind, Kind::kAskYesNo);
  EXPECT_EQ(scripted.Requests()[2].kind, Kind::kInputBox);
  EXPECT_EQ(scripted.Requests()[2].caption, QStringLiteral("Invoice"));
  EXPECT_EQ(scripted.Requests()[2].proposed, QStringLiteral("1"));
  EXPECT_TRUE(scripted.WasShown(fatal));
  // Whole texts only: a part, or the text with other line breaks, is not it.
  EXPECT_FALSE(scripted.WasShown(QStringLiteral("Unable to open file CUST5")));
  EXPECT_FALSE(
      scripted.WasShown(QStringLiteral("Unable to open file CUST5\nProgram will now terminate.")));
  scripted.ClearRecords();
  EXPECT_TRUE(scripted.Said().isEmpty());
  EXPECT_EQ(scripted.Unanswered(), 0);
}

TEST(ScriptedPlatformTest, InputBoxesTakeQueuedEntriesOrCancel) {
  ScriptedPlatform scripted;
  scripted.QueueInput(QStringLiteral("1001"));
  scripted.QueueInputCancelled();
  scripted.QueueInput(QString());
  QString entry = QStringLiteral("untouched");
  EXPECT_TRUE(scripted.InputBox({}, QStringLiteral("p"), {}, &entry));
  EXPECT_EQ(entry, QStringLiteral("1001"));
  entry = QStringLiteral("untouched");
  EXPECT_FALSE(scripted.InputBox({}, QStringLiteral("p"), {}, &entry));
  EXPECT_EQ(entry, QStringLiteral("untouched"));
  EXPECT_TRUE(scripted.InputBox({}, QStringLiteral("p"), {}, &entry));
  EXPECT_EQ(entry, QString());
  EXPECT_EQ(scripted.Unanswered(), 0);
  EXPECT_FALSE(scripted.InputBox({}, QStringLiteral("p"), {}, &entry));
  EXPECT_EQ(scripted.Unanswered(), 1);
}

TEST(ScriptedPlatformTest, FileDialogsTakeQueuedNamesAndRecordTheirSetUp) {
  ScriptedPlatform scripted;
  scripted.QueueFileName(QStringLiteral("/tmp/report.txt"));
  scripted.QueueFileName(QString());
  EXPECT_EQ(scripted.SaveFileName(QStringLiteral("Save Report"),
                                  QStringLiteral("Text files (*.txt)|*.TXT"), QStringLiteral("txt"),
                                  QString()),
            QStringLiteral("/tmp/report.txt"));
  EXPECT_EQ(
      scripted.OpenFileName(QStringLiteral("Logo"), QStringLiteral("Bitmap Files (*.BMP)|*.BMP")),
      QString());
  EXPECT_EQ(scripted.OpenFileName(QStringLiteral("Logo"), QString()), QString());
  EXPECT_EQ(scripted.Unanswered(), 1);
  const auto& save = scripted.Requests().at(0);
  EXPECT_EQ(save.kind, Kind::kSaveFile);
  EXPECT_EQ(save.caption, QStringLiteral("Text files (*.txt)|*.TXT"));
  EXPECT_EQ(save.suffix, QStringLiteral("txt"));
  EXPECT_EQ(scripted.Requests().at(1).kind, Kind::kOpenFile);
}

TEST(ScriptedPlatformTest, ModalWindowsRunTheirStandInsEachTime) {
  ScriptedPlatform scripted;
  int selection = -1;  // the program-wide state a pick list would set
  int shown = 0;
  scripted.OnModal(WindowId::kPickCust, [&] {
    ++shown;
    selection = 7 * shown;
    return 1;
  });
  EXPECT_EQ(scripted.ShowModal(WindowId::kPickCust), 1);
  EXPECT_EQ(selection, 7);
  EXPECT_EQ(scripted.ShowModal(WindowId::kPickCust), 1);
  EXPECT_EQ(selection, 14);
  // A window with no stand-in is rejected and counted.
  EXPECT_EQ(scripted.ShowModal(WindowId::kCustomer), 0);
  EXPECT_EQ(scripted.Unanswered(), 1);
  EXPECT_EQ(scripted.ModalShown(),
            (std::vector<WindowId>{WindowId::kPickCust, WindowId::kPickCust, WindowId::kCustomer}));
  EXPECT_EQ(scripted.ModalCount(WindowId::kPickCust), 2);
  EXPECT_EQ(scripted.ModalCount(WindowId::kInvoice), 0);
}

TEST(ScriptedPlatformTest, AStandInMayOpenAnotherWindowAndReplaceItself) {
  ScriptedPlatform scripted;
  scripted.OnModal(WindowId::kCustomer, [] { return 1; });
  scripted.OnModal(WindowId::kPickCust, [&scripted] {
    const int editor = scripted.ShowModal(WindowId::kCustomer);
    scripted.OnModal(WindowId::kPickCust, [] { return 0; });
    return editor + 1;
  });
  EXPECT_EQ(scripted.ShowModal(WindowId::kPickCust), 2);
  EXPECT_EQ(scripted.ShowModal(WindowId::kPickCust), 0);
  EXPECT_EQ(scripted.ModalShown(),
            (std::vector<WindowId>{WindowId::kPickCust, WindowId::kCustomer, WindowId::kPickCust}));
}

TEST(ScriptedPlatformTest, RecordsProgressInOrder) {
  ScriptedPlatform scripted;
  scripted.ShowProgress(QStringLiteral("Packing Data Files"));
  scripted.SetProgress(10);
  scripted.SetProgress(100);
  scripted.ShowProgress(QString());
  EXPECT_EQ(scripted.ProgressTexts(),
            (QStringList{QStringLiteral("Packing Data Files"), QString()}));
  EXPECT_EQ(scripted.ProgressPercents(), (std::vector<int>{10, 100}));
  ASSERT_EQ(scripted.Progress().size(), 4u);
  EXPECT_TRUE(scripted.Progress()[0].is_text);
  EXPECT_FALSE(scripted.Progress()[1].is_text);
  EXPECT_TRUE(scripted.Progress()[3].is_text);
}

TEST(ScriptedPlatformTest, TerminateIsRecordedAndTheProcessGoesOn) {
  ScriptedPlatform scripted;
  EXPECT_FALSE(scripted.TerminateRequested());
  scripted.Terminate(3);
  scripted.Terminate(5);
  EXPECT_TRUE(scripted.TerminateRequested());
  EXPECT_EQ(scripted.ExitCode(), 3);
}

TEST(PlatformTest, CurrentIsTheInstalledPlatformForTheScope) {
  // Before anything is installed the answers are the safe ones.
  EXPECT_EQ(Current().AskYesNo(QStringLiteral("Delete?")), Answer::kNo);
  EXPECT_EQ(Current().AskOkCancel(QStringLiteral("Erase?")), Answer::kCancel);
  QString entry;
  EXPECT_FALSE(Current().InputBox({}, {}, {}, &entry));
  EXPECT_EQ(Current().ShowModal(WindowId::kInvoice), 0);

  ScriptedPlatform outer;
  ScriptedPlatform inner;
  {
    ScopedPlatform use_outer(&outer);
    {
      ScopedPlatform use_inner(&inner);
      Current().Inform(QStringLiteral("inner"));
    }
    Current().Inform(QStringLiteral("outer"));
  }
  EXPECT_EQ(inner.Said(), QStringList{QStringLiteral("inner")});
  EXPECT_EQ(outer.Said(), QStringList{QStringLiteral("outer")});
  EXPECT_EQ(&Current(), &Current());
  EXPECT_NE(&Current(), static_cast<Platform*>(&outer));
}

}  // namespace
}  // namespace platform
