// The program's own boxes: what answers a question, and where a box opens.
#include "shell/windows/qt_prompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "shell/windows/tests/main_window_fixture.h"

namespace {

using Answer = Prompt::Answer;

// Runs `answer` on each box shown modally while the returned timer lives.
std::unique_ptr<QTimer> AnswerBoxes(std::function<void(QMessageBox& box)> answer) {
  auto timer = std::make_unique<QTimer>();
  QObject::connect(timer.get(), &QTimer::timeout, [answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isVisible()) answer(*box);
  });
  timer->start(5);
  return timer;
}

// Esc and the close button leave the box open; "Нет" then answers it.
void TryToDismissThenSayNo(QMessageBox& box) {
  QTest::keyClick(&box, Qt::Key_Escape);
  box.close();
  EXPECT_TRUE(box.isVisible());
  for (QAbstractButton* button : box.buttons()) {
    if (button->text() == "Нет") button->click();
  }
}

TEST(QtPrompt, OnlyItsButtonsAnswerAQuestionAndEnterSaysYes) {
  QtPrompt prompt;
  auto answering = AnswerBoxes(TryToDismissThenSayNo);
  EXPECT_EQ(prompt.Question("Предупреждение", "Расчет был изменен, сохранить ?"), Answer::No);
  answering = AnswerBoxes([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
  EXPECT_EQ(prompt.Question("Предупреждение", "Расчет был изменен, сохранить ?"), Answer::Yes);
}

TEST(QtPrompt, ABoxOpensOverTheDialogThatIsUp) {
  QWidget main_window;
  QDialog dialog(&main_window);
  dialog.open();
  QtPrompt prompt(&main_window);
  auto answering = AnswerBoxes([&](QMessageBox& box) {
    EXPECT_EQ(box.parentWidget(), &dialog);
    box.buttons().first()->click();
  });
  prompt.Error("Число строк таблицы должно быть от 1 до 16384");
}

// Names come from the script; the save questions are the program's boxes.
class OnScreenQuestions : public ScriptedPrompt {
 public:
  Answer Question(const QString& caption, const QString& text) override {
    questions.append(text);
    return screen.Question(caption, text);
  }
  QtPrompt screen;
};

using SaveQuestions = CommandsFixture;

// Each question of closing everything waits for its answer, centred on the
// main window, the second too, which opens when no window is active.
TEST_F(SaveQuestions, StayUntilAnsweredAndOpenOverTheMainWindow) {
  OnScreenQuestions prompt;
  TWMain window(prompt, File("System.INI"));
  prompt.screen.SetParent(&window);
  window.show();
  prompt.names = {"Проект А", "Расчет 1"};
  ASSERT_TRUE(window.Actions().Execute(window.Actions().Find("FileNewProject")));
  ASSERT_TRUE(window.Actions().Execute(window.Actions().Find("FileNewCalculation")));
  auto* methods = Child<QComboBox>(window, "cbMethods");
  methods->setCurrentIndex(0);
  emit methods->activated(0);

  auto answering = AnswerBoxes([&](QMessageBox& box) {
    EXPECT_LE((box.frameGeometry().center() - window.frameGeometry().center()).manhattanLength(), 4);
    TryToDismissThenSayNo(box);
  });
  ASSERT_TRUE(window.Actions().Execute(window.Actions().Find("FileCloseAll")));
  EXPECT_EQ(prompt.questions,
            QStringList({"Расчет был изменен, сохранить ?", "Проект был изменен, сохранить ?"}));
  EXPECT_EQ(window.Project(), nullptr);
}

}  // namespace
