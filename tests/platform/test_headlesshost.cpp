#include "platform/headlesshost.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vespario::platform {
namespace {

struct DefaultCase {
    Buttons buttons;
    Answer expected;
};

class DefaultAnswer : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultAnswer, EmptyScriptPressesTheFirstButton) {
    HeadlessHost host;
    EXPECT_EQ(host.MessageBox("text", "title", GetParam().buttons), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(HeadlessHost, DefaultAnswer,
                         ::testing::Values(DefaultCase{Buttons::Ok, Answer::Ok},
                                           DefaultCase{Buttons::OkCancel, Answer::Ok},
                                           DefaultCase{Buttons::YesNo, Answer::Yes},
                                           DefaultCase{Buttons::YesNoCancel, Answer::Yes}));

TEST(HeadlessHost, AnswersFromTheScriptInOrder) {
    HeadlessHost host;
    host.QueueAnswer(Answer::No);
    host.QueueConfirm(Answer::No, true);
    host.QueueAnswer(Answer::Cancel);
    EXPECT_EQ(host.PendingAnswers(), 3u);

    EXPECT_EQ(host.MessageBox("one", "T", Buttons::YesNo), Answer::No);
    bool dontAsk = false;
    EXPECT_EQ(host.Confirm("two", dontAsk), Answer::No);
    EXPECT_TRUE(dontAsk);
    EXPECT_EQ(host.MessageBox("three", "T", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(host.PendingAnswers(), 0u);
    // The script is used up: back to the first button.
    EXPECT_EQ(host.MessageBox("four", "T", Buttons::YesNo), Answer::Yes);
}

TEST(HeadlessHost, ConfirmWithoutScriptSaysYesAndLeavesTheBoxClear) {
    HeadlessHost host;
    bool dontAsk = true;
    EXPECT_EQ(host.Confirm("sure?", dontAsk), Answer::Yes);
    EXPECT_FALSE(dontAsk);
    ASSERT_EQ(host.Events().size(), 1u);
    EXPECT_EQ(host.Events()[0].kind, HostEventKind::Confirm);
    EXPECT_EQ(host.Events()[0].title, "Are You Sure?");
    EXPECT_EQ(host.Events()[0].buttons, Buttons::YesNo);
}

TEST(HeadlessHost, AnswerThatIsNoButtonOfTheBoxGivesTheFirstButton) {
    HeadlessHost host;
    host.QueueAnswer(Answer::Yes);
    EXPECT_EQ(host.MessageBox("info", "T", Buttons::Ok), Answer::Ok);
    host.QueueAnswer(Answer::Cancel);
    EXPECT_EQ(host.MessageBox("q", "T", Buttons::YesNo), Answer::Yes);
    host.QueueConfirm(Answer::Ok, true);
    bool dontAsk = true;
    EXPECT_EQ(host.Confirm("c", dontAsk), Answer::Yes);
    EXPECT_FALSE(dontAsk);
}

TEST(HeadlessHost, RecordsEveryCallInOrder) {
    HeadlessHost host;
    host.QueueAnswer(Answer::Cancel);
    host.MessageBox("Cannot open", "Vespario", Buttons::OkCancel);
    host.Beep();
    host.SetStatusText(1, "12 objects");
    host.Progress("Reading", 40);
    host.PumpEvents();
    host.EndProgress();

    const auto &events = host.Events();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].kind, HostEventKind::MessageBox);
    EXPECT_EQ(events[0].text, "Cannot open");
    EXPECT_EQ(events[0].title, "Vespario");
    EXPECT_EQ(events[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(events[0].answer, Answer::Cancel);
    EXPECT_EQ(events[1].kind, HostEventKind::Beep);
    EXPECT_EQ(events[2].kind, HostEventKind::StatusText);
    EXPECT_EQ(events[2].pane, 1);
    EXPECT_EQ(events[2].text, "12 objects");
    EXPECT_EQ(events[3].kind, HostEventKind::Progress);
    EXPECT_EQ(events[3].percent, 40);
    EXPECT_EQ(events[4].kind, HostEventKind::EndProgress);
    EXPECT_EQ(host.BeepCount(), 1);
    EXPECT_EQ(host.PumpCount(), 1);
}

TEST(HeadlessHost, KeepsStatusAndProgressState) {
    HeadlessHost host;
    EXPECT_EQ(host.StatusText(0), "");
    host.SetStatusText(0, "Ready");
    host.SetStatusText(2, "3");
    host.SetStatusText(0, "Loading");
    EXPECT_EQ(host.StatusText(0), "Loading");
    EXPECT_EQ(host.StatusText(2), "3");
    EXPECT_EQ(host.StatusText(1), "");

    host.Progress("Sorting", 10);
    host.Progress("Sorting", 90);
    EXPECT_EQ(host.ProgressText(), "Sorting");
    EXPECT_EQ(host.ProgressPercent(), 90);
    host.EndProgress();
    EXPECT_EQ(host.ProgressText(), "");
}

TEST(HeadlessHost, MessagesHoldBoxAndConfirmTextsOnly) {
    HeadlessHost host;
    host.MessageBox("first", "T", Buttons::Ok);
    host.SetStatusText(0, "not a message");
    bool dontAsk = false;
    host.Confirm("second", dontAsk);
    host.Progress("nor this", 5);
    EXPECT_EQ(host.Messages(), (std::vector<std::string>{"first", "second"}));
}

TEST(HeadlessHost, EchoesEachMessageOnItsOwnLine) {
    HeadlessHost host;
    std::ostringstream echo;
    host.SetEcho(&echo);
    host.MessageBox("Warning: one", "Vespario", Buttons::Ok);
    bool dontAsk = false;
    host.Confirm("Really?", dontAsk);
    host.SetStatusText(0, "quiet");
    host.SetEcho(nullptr);
    host.MessageBox("not echoed", "Vespario", Buttons::Ok);
    EXPECT_EQ(echo.str(), "Warning: one\nReally?\n");
}

TEST(HeadlessHost, ClearForgetsRecordsAndScript) {
    HeadlessHost host;
    host.QueueAnswer(Answer::No);
    host.QueueAnswer(Answer::No);
    host.MessageBox("x", "T", Buttons::YesNo);
    host.Beep();
    host.SetStatusText(0, "s");
    host.Clear();
    EXPECT_TRUE(host.Events().empty());
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(host.BeepCount(), 0);
    EXPECT_EQ(host.StatusText(0), "");
    EXPECT_EQ(host.PendingAnswers(), 0u);
    EXPECT_EQ(host.MessageBox("y", "T", Buttons::YesNo), Answer::Yes);
}

} // namespace
} // namespace vespario::platform
