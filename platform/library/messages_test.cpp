#include "library/messages.h"

#include <gtest/gtest.h>

#include "library/recording_operator_test.h"

namespace {

struct MessagesTest : ::testing::Test {
  fw::TMessages msg{nullptr};
  void SetUp() override {
    msg.Lines = {"FILIAL|Filial deve ser informada.", "FILIAL_X|Outra.", "PE|PE",
                 "Url|a|b", "N|Normal", "CANCELAR|Cancelar operação?", "FILIAL|Repetida."};
  }
};

}  // namespace

TEST_F(MessagesTest, TextAfterTheBarOfTheFirstMatchingLine) {
  EXPECT_EQ(msg.Msg("FILIAL"), "Filial deve ser informada.");
  EXPECT_EQ(msg.Msg("FILIAL_X"), "Outra.");
  EXPECT_EQ(msg.Msg("N"), "Normal");  // not the "N" of another key
  EXPECT_EQ(msg.Msg("Url"), "a|b");   // bars inside the text are kept
}

TEST_F(MessagesTest, KeysAreExactAndCaseSensitive) {
  EXPECT_EQ(msg.Msg("FILIA"), "FILIA");
  EXPECT_EQ(msg.Msg("filial"), "filial");
  EXPECT_EQ(msg.Msg("NAO_EXISTE"), "NAO_EXISTE");
}

TEST_F(MessagesTest, ShowMsgShowsTheTextAndReturnsTheAnswer) {
  RecordingOperator op;
  op.Answer = fw::mrYes;
  int result = msg.ShowMsg("CANCELAR", fw::TMsgDlgType::mtConfirmation, fw::mbYes | fw::mbNo, 0);
  EXPECT_EQ(result, fw::mrYes);
  ASSERT_EQ(op.Boxes.size(), 1u);
  EXPECT_EQ(op.Boxes[0].Text, "Cancelar operação?");
  EXPECT_EQ(op.Boxes[0].Type, fw::TMsgDlgType::mtConfirmation);
  EXPECT_EQ(op.Boxes[0].Buttons, fw::mbYes | fw::mbNo);
}
