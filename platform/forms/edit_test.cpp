// Edits: typing, limits, case, change events; masked edits with the masks
// of the screens; spin edits, combo boxes, memos.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "forms/canvas.h"
#include "forms/combo_box.h"
#include "forms/controls_test_support.h"
#include "forms/edit.h"
#include "forms/mask_edit.h"
#include "forms/memo.h"
#include "forms/spin_edit.h"
#include "text/format_mask.h"

namespace fw {
namespace {

using testing::FormTest;
using testing::Press;
using testing::Type;

struct ChangeLog {
  std::vector<std::string> texts;
  template <class Edit>
  void Watch(Edit& edit) {
    edit.OnChange = [this, &edit](TComponent&) { texts.push_back(edit.Text()); };
  }
};

using EditTest = FormTest;

TEST_F(EditTest, TypingAppendsAndBackspaceRemovesWholeCharacters) {
  auto& edit = Place<TEdit>("edtNome");
  ChangeLog log;
  log.Watch(edit);
  edit.AutoSelect = false;
  Type(edit, "Pão");
  Press(edit, VK_BACK);
  EXPECT_EQ(edit.Text(), "Pã");
  EXPECT_EQ(log.texts, (std::vector<std::string>{"P", "Pã", "Pão", "Pã"}));
  Type(edit, "\r");  // control characters are not text
  EXPECT_EQ(edit.Text(), "Pã");
}

TEST_F(EditTest, OnChangeRunsForTextSetByCodeButNotForTheSameText) {
  auto& edit = Place<TEdit>("edtNome");
  ChangeLog log;
  log.Watch(edit);
  edit.SetText("0001");
  edit.SetText("0001");
  edit.Clear();
  EXPECT_EQ(log.texts, (std::vector<std::string>{"0001", ""}));
}

TEST_F(EditTest, MaxLengthRefusesTypingButNotCode) {
  auto& edit = Place<TEdit>("edtCodigo");
  edit.SetMaxLength(3);
  Type(edit, "ação!");
  EXPECT_EQ(edit.Text(), "açã");
  edit.SetText("abcdef");
  EXPECT_EQ(edit.Text(), "abcdef");
}

TEST_F(EditTest, CharCaseConvertsTypedSetAndHeldText) {
  auto& edit = Place<TEdit>("edtCodigo");
  edit.SetText("ação");
  edit.SetCharCase(TEditCharCase::ecUpperCase);
  EXPECT_EQ(edit.Text(), "AÇÃO");
  edit.SetText("são");
  EXPECT_EQ(edit.Text(), "SÃO");
  edit.Clear();
  Type(edit, "é");
  EXPECT_EQ(edit.Text(), "É");
}

TEST_F(EditTest, ReadOnlyHiddenAndDisabledEditsRefuseTyping) {
  auto& edit = Place<TEdit>("edtNmFilial");
  edit.SetText("Matriz");
  edit.SetReadOnly(true);
  Type(edit, "x");
  Press(edit, VK_BACK);
  edit.SetReadOnly(false);
  edit.SetEnabled(false);
  Type(edit, "x");
  edit.SetEnabled(true);
  form->SetVisible(false);
  Type(edit, "x");
  EXPECT_EQ(edit.Text(), "Matriz");
}

TEST_F(EditTest, EnteringSelectsAllSoTypingReplacesTheText) {
  auto& first = Place<TEdit>("edtA");
  auto& edit = Place<TEdit>("edtB");
  first.SetFocus();
  edit.SetText("0001");
  edit.SetFocus();
  EXPECT_TRUE(edit.AllSelected());
  Type(edit, "7");
  EXPECT_EQ(edit.Text(), "7");
  Type(edit, "8");
  EXPECT_EQ(edit.Text(), "78");
  first.SetFocus();
  edit.SetFocus();
  Press(edit, VK_BACK);  // removes the selected whole
  EXPECT_EQ(edit.Text(), "");
}

TEST_F(EditTest, KeyHandlersRunFirstAndMayConsumeTheKey) {
  auto& edit = Place<TEdit>("edtA");
  edit.OnKeyPress = [](TComponent&, std::string& key) {
    if (key == "x") key.clear();
    if (key == "y") key = "z";
  };
  edit.OnKeyDown = [](TComponent&, TKey& key, TShiftState) { key = 0; };
  Type(edit, "axy");
  Press(edit, VK_BACK);
  EXPECT_EQ(edit.Text(), "az");
}

// ---------------------------------------------------------------------------
// Masked edits

using MaskEditTest = FormTest;

TEST_F(MaskEditTest, BranchCodeIsUpperCaseAndTakesFourCharactersAtMost) {
  auto& med = Place<TMaskEdit>("medCdFilial");
  med.SetEditMask(">aaaa;0; ");
  med.SetMaxLength(4);
  ChangeLog log;
  log.Watch(med);
  EXPECT_EQ(med.EditText(), "    ");  // untouched: blanks only
  Type(med, "a-b1");                   // "-" fits no position
  EXPECT_EQ(med.Text(), "AB1");
  EXPECT_EQ(med.EditText(), "AB1 ");
  Type(med, "çz");  // the fifth character cannot be typed
  EXPECT_EQ(med.Text(), "AB1Ç");
  EXPECT_EQ(log.texts, (std::vector<std::string>{"A", "AB", "AB1", "AB1Ç"}));
  Press(med, VK_BACK);
  EXPECT_EQ(med.EditText(), "AB1 ");
  EXPECT_EQ(log.texts.back(), "AB1");
}

TEST_F(MaskEditTest, OrderNumberTakesDigitsOnly) {
  auto& med = Place<TMaskEdit>("medDeIntervalo");
  med.SetEditMask("9999999999;0; ");
  med.SetMaxLength(10);
  Type(med, "12a3.4");
  EXPECT_EQ(med.Text(), "1234");
  EXPECT_EQ(med.EditText(), "1234      ");
  Type(med, "5678901");
  EXPECT_EQ(med.Text(), "1234567890");
}

TEST_F(MaskEditTest, MaxLengthBelowTheMaskLimitsTyping) {
  auto& med = Place<TMaskEdit>("medCodigo");
  med.SetEditMask("aaaaaa;0; ");
  med.SetMaxLength(2);
  Type(med, "abc");
  EXPECT_EQ(med.Text(), "ab");
}

TEST_F(MaskEditTest, TextSetByCodeRunsOnChangeAndIsCheckedAgainstTheMask) {
  auto& med = Place<TMaskEdit>("medCdFilial");
  med.SetEditMask(">aaaa;0; ");
  ChangeLog log;
  log.Watch(med);
  med.SetText("ab");
  EXPECT_EQ(med.Text(), "AB");
  EXPECT_EQ(med.EditText(), "AB  ");
  EXPECT_THROW(med.SetText("abcde"), EConvertError);  // would validate another branch
  EXPECT_THROW(med.SetText("a-b"), EConvertError);
  EXPECT_EQ(med.Text(), "AB");
  med.SetText("");
  EXPECT_EQ(med.EditText(), "    ");
  EXPECT_EQ(log.texts, (std::vector<std::string>{"AB", ""}));
}

TEST_F(MaskEditTest, KeptLiteralsAreInTheTextAndSkippedWhenSet) {
  auto& med = Place<TMaskEdit>("depDeEmissao");
  med.SetEditMask("99/99/9999;1;_");
  EXPECT_EQ(med.EditText(), "__/__/____");
  Type(med, "1005");
  EXPECT_EQ(med.Text(), "10/05");
  EXPECT_EQ(med.EditText(), "10/05/____");
  med.SetText("31/12/2004");
  EXPECT_EQ(med.EditText(), "31/12/2004");
  med.SetText("3112");  // literals may be left out
  EXPECT_EQ(med.Text(), "31/12");
  med.SetText("1 /12/2004");  // a blank leaves its position empty
  EXPECT_EQ(med.EditText(), "1_/12/2004");
}

TEST_F(MaskEditTest, ABadMaskOrAMaskTheTextDoesNotFitChangesNothing) {
  auto& med = Place<TMaskEdit>("medCodigo");
  med.SetText("ab1");
  EXPECT_THROW(med.SetEditMask("99;2;_"), EConvertError);
  EXPECT_THROW(med.SetEditMask("9999;0; "), EConvertError);
  EXPECT_EQ(med.EditMask(), "");
  EXPECT_EQ(med.Text(), "ab1");
  med.SetEditMask(">aaaa;0; ");
  EXPECT_EQ(med.Text(), "AB1");
}

TEST_F(MaskEditTest, RequiredPositionsMakeTheBoxIncompleteUntilFilled) {
  auto& med = Place<TMaskEdit>("medCep");
  med.SetEditMask("00000-000;0;_");
  Type(med, "12345");
  EXPECT_FALSE(med.IsComplete());
  EXPECT_EQ(med.EditText(), "12345-___");
  Type(med, "678");
  EXPECT_TRUE(med.IsComplete());
  EXPECT_EQ(med.Text(), "12345678");
}

TEST(EditMaskTest, LayoutMatchesFormatMaskTextForFilledPrefixes) {
  for (const char* mask : {">aaaa;0; ", "9999999999;0; ", "99/99/9999;1;_", "!>L0L-0L0;0;*",
                           "(99) 9999-9999;0;_", "<ll>LL<>cc;1;_"}) {
    TEditMask parsed(mask);
    for (const char* text : {"1", "12", "ab", "1a2b", "AbCdEf"}) {
      TEditMask::Cells cells;
      try {
        cells = parsed.Parse(text);
      } catch (const EConvertError&) {
        continue;  // does not fit this mask
      }
      EXPECT_EQ(parsed.Layout(cells), FormatMaskText(mask, parsed.TextOf(cells)))
          << mask << " / " << text;
    }
  }
}

TEST(EditMaskTest, PositionKindsAcceptTheirCharacters) {
  TEditMask mask("9#aLc;0;_");
  EXPECT_TRUE(mask.Fit(0, "7"));
  EXPECT_FALSE(mask.Fit(0, "+"));
  EXPECT_TRUE(mask.Fit(1, "-"));
  EXPECT_TRUE(mask.Fit(2, "ã"));
  EXPECT_FALSE(mask.Fit(2, "-"));
  EXPECT_FALSE(mask.Fit(3, "1"));
  EXPECT_TRUE(mask.Fit(3, "Ç"));
  EXPECT_TRUE(mask.Fit(4, "%"));
  EXPECT_FALSE(mask.Fit(5, "1"));  // past the last position
  EXPECT_FALSE(mask.Fit(0, "12"));
}

// ---------------------------------------------------------------------------
// Spin edits, combo boxes, memos

using SpinEditTest = FormTest;

TEST_F(SpinEditTest, ValueIsKeptWithinTheLimitsAndTextMayBeEmpty) {
  auto& spe = Place<TSpinEdit>("speDiaFixo");
  spe.MinValue = 1;
  spe.MaxValue = 31;
  spe.SetMaxLength(2);
  spe.SetValue(40);
  EXPECT_EQ(spe.Text(), "31");
  spe.SetText("");  // a null number shows as empty text
  EXPECT_EQ(spe.Value(), 1);
  spe.SetText("abc");
  EXPECT_EQ(spe.Value(), 1);
  spe.SetText("15");
  Press(spe, VK_UP);
  EXPECT_EQ(spe.Text(), "16");
  spe.SetText("31");
  Press(spe, VK_UP);
  EXPECT_EQ(spe.Text(), "31");
}

TEST_F(SpinEditTest, OperatorTypesDigitsAndLeavingBringsTheNumberInside) {
  auto& other = Place<TEdit>("edtOutro");
  auto& spe = Place<TSpinEdit>("speParcela");
  spe.MinValue = 1;
  spe.MaxValue = 99;
  spe.SetMaxLength(2);
  spe.SetFocus();
  Type(spe, "-0x0");
  EXPECT_EQ(spe.Text(), "00");
  other.SetFocus();
  EXPECT_EQ(spe.Text(), "1");
}

using ComboBoxTest = FormTest;

TEST_F(ComboBoxTest, ItemIndexByCodeRunsNothingAndThePicksOfTheOperatorDo) {
  auto& dbc = Place<TComboBox>("dbcTipo");
  dbc.SetStyle(TComboBoxStyle::csDropDownList);
  dbc.Items = TStrings{"0 - Emitente", "1 - Destinatário/Remetente", "2 - Terceiros", "9 - Sem Frete"};
  int changes = 0;
  dbc.OnChange = [&](TComponent&) { ++changes; };
  dbc.SetItemIndex(3);
  EXPECT_EQ(dbc.Text(), "9 - Sem Frete");
  EXPECT_THROW(dbc.SetItemIndex(4), Exception);
  EXPECT_EQ(dbc.ItemIndex(), 3);
  dbc.SetText("nada");  // not an item of a list-only box
  EXPECT_EQ(dbc.ItemIndex(), -1);
  EXPECT_EQ(dbc.Text(), "");
  EXPECT_EQ(changes, 0);
  dbc.SelectItem(1);
  dbc.SelectItem(1);
  Press(dbc, VK_DOWN);
  EXPECT_EQ(dbc.Text(), "2 - Terceiros");
  EXPECT_EQ(changes, 2);
  Type(dbc, "x");  // no edit part
  EXPECT_EQ(dbc.Text(), "2 - Terceiros");
  dbc.SetEnabled(false);
  dbc.SelectItem(0);
  EXPECT_EQ(dbc.ItemIndex(), 2);
}

TEST_F(ComboBoxTest, ChangingItemsKeepsTheChoiceByPositionOrDropsIt) {
  auto& cbx = Place<TComboBox>("cbxFruta");
  cbx.Items = TStrings{"a", "b", "c"};
  cbx.SetItemIndex(2);
  cbx.Items = TStrings{"x", "y"};
  EXPECT_EQ(cbx.ItemIndex(), -1);
  EXPECT_EQ(cbx.Text(), "");
  cbx.SetItemIndex(1);
  cbx.Items = TStrings{"p", "q"};
  EXPECT_EQ(cbx.Text(), "q");
  cbx.SetItemIndex(-1);
  cbx.SetFocus();
  Type(cbx, "p");  // typing an item's text chooses it
  EXPECT_EQ(cbx.ItemIndex(), 0);
}

using MemoTest = FormTest;

TEST_F(MemoTest, TypingFollowsLinesAndReadOnlyRefuses) {
  auto& memo = Place<TMemo>("memObs");
  int changes = 0;
  memo.OnChange = [&](TComponent&) { ++changes; };
  Type(memo, "ab");
  Type(memo, "\r");
  Type(memo, "c");
  EXPECT_EQ(memo.Text(), "ab\nc");
  Press(memo, VK_BACK);
  Press(memo, VK_BACK);
  EXPECT_EQ(memo.Lines.Count(), 1);
  EXPECT_EQ(changes, 6);
  memo.SetReadOnly(true);
  Type(memo, "z");
  EXPECT_EQ(memo.Text(), "ab");
}

TEST_F(MemoTest, RichEditShowsThePlainTextOfADocument) {
  auto& rich = Place<TRichEdit>("redObs");
  rich.SetRichText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Entregar at\\'e9 sexta\\par Port\\u227?o 2}");
  EXPECT_EQ(rich.Lines.Lines(), (std::vector<std::string>{"Entregar até sexta", "Portão 2"}));
  rich.PlainText = true;
  rich.SetRichText("{\\rtf1 x}");
  EXPECT_EQ(rich.Text(), "{\\rtf1 x}");
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

// One editing step: keys (with shift state) or typed text.
struct Step {
  TKey key = 0;
  TShiftState shift = 0;
  std::string typed;
};
Step K(TKey key, TShiftState shift = 0) { return {key, shift, {}}; }
Step T(std::string text) { return {0, 0, std::move(text)}; }

struct EditCase {
  const char* what;
  std::string mask;  // "" for a plain edit
  std::string start;
  std::vector<Step> steps;
  std::string text;  // Text() afterwards
  int selStart, selLength;
};

class CaretTest : public testing::FormTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(CaretTest, KeysMoveTheCaretAndActOnTheSelection) {
  const EditCase& c = GetParam();
  auto& edit = Place<TMaskEdit>("medCampo");
  edit.AutoSelect = false;
  if (!c.mask.empty()) edit.SetEditMask(c.mask);
  edit.SetText(c.start);
  edit.SetFocus();
  for (const Step& s : c.steps) {
    if (s.typed.empty()) Press(edit, s.key, s.shift);
    else Type(edit, s.typed);
  }
  EXPECT_EQ(edit.Text(), c.text) << c.what;
  EXPECT_EQ(edit.SelStart(), c.selStart) << c.what;
  EXPECT_EQ(edit.SelLength(), c.selLength) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Edits, CaretTest, ::testing::Values(
    EditCase{"typing goes in at the caret", "", "abc", {K(VK_LEFT), K(VK_LEFT), T("X")}, "aXbc", 2, 0},
    EditCase{"Home, Shift+End, typing replaces", "", "0001", {K(VK_HOME), K(VK_END, ssShift), T("2")}, "2", 1, 0},
    EditCase{"Ctrl+A then Delete", "", "Pão", {K('A', ssCtrl), K(VK_DELETE)}, "", 0, 0},
    EditCase{"Shift+Left selects back, Backspace takes it", "", "abcd",
             {K(VK_LEFT, ssShift), K(VK_LEFT, ssShift), K(VK_BACK)}, "ab", 2, 0},
    EditCase{"Delete takes the character after the caret", "", "abc", {K(VK_HOME), K(VK_DELETE)}, "bc", 0, 0},
    EditCase{"Ctrl+arrows go by words", "", "ab cd ef",
             {K(VK_HOME), K(VK_RIGHT, ssCtrl), K(VK_RIGHT, ssCtrl | ssShift)}, "ab cd ef", 3, 3},
    EditCase{"Ctrl+X takes the selection out", "", "abcd", {K(VK_HOME), K(VK_RIGHT, ssShift), K('X', ssCtrl)},
             "bcd", 0, 0},
    EditCase{"an arrow ends a selection at its side", "", "abcd", {K('A', ssCtrl), K(VK_LEFT)}, "abcd", 0, 0},
    EditCase{"mask: literals are passed over", "99/99/9999;1;_", "", {T("1203")}, "12/03", 6, 0},
    EditCase{"mask: a paste is filtered through it", "99/99/9999;1;_", "", {T("12a/034")}, "12/03/4", 7, 0},
    EditCase{"mask: typing over the middle", "99/99/9999;1;_", "12/03/2024",
             {K(VK_HOME), K(VK_RIGHT), K(VK_RIGHT), K(VK_RIGHT), T("9")}, "12/93/2024", 4, 0},
    EditCase{"mask: Backspace empties the cell before the caret", "99/99/9999;1;_", "12/03",
             {K(VK_LEFT), K(VK_LEFT), K(VK_BACK)}, "12/_3", 3, 0},
    EditCase{"mask: upper case is forced", ">LLLL;0;_", "", {T("ab"), K(VK_HOME), T("c")}, "CB", 1, 0},
    EditCase{"mask: nothing after the last place", "9999;0;_", "1234", {T("5")}, "1234", 4, 0}));

TEST_F(EditTest, TheMousePlacesTheCaretSelectsByDraggingAndAWordByDoubleClick) {
  auto& edit = Place<TEdit>("edtNome");
  edit.SetText("Pão de queijo");
  const int left = edit.TextLeft();
  auto x = [&](int chars) { return left + MeasureText(edit.Font(), edit.Text().substr(0, chars)); };
  edit.MouseClick(x(1) + 1, 5);
  EXPECT_TRUE(edit.Focused());
  EXPECT_EQ(edit.CaretPos(), 1);
  EXPECT_EQ(edit.SelLength(), 0);
  edit.MouseDrag(x(0), 5, 500, 5);
  EXPECT_EQ(edit.SelText(), "Pão de queijo");
  edit.MouseDoubleClick(x(8), 5);  // inside "queijo" ("ã" is two bytes)
  EXPECT_EQ(edit.SelText(), "queijo");
}

}  // namespace
}  // namespace fw
