// Check boxes, radio buttons, push buttons, radio groups, labels, panels,
// the splitter, component references and glyph bitmaps.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "forms/buttons.h"
#include "forms/check_boxes.h"
#include "forms/component_ref.h"
#include "forms/containers.h"
#include "forms/controls_test_support.h"
#include "forms/edit.h"
#include "forms/glyphs.h"
#include "forms/radio_group.h"
#include "forms/static_controls.h"

namespace fw {
namespace {

using testing::FormTest;
using testing::Press;

struct ClickLog {
  std::vector<std::string> clicks;
  void Watch(TControl& control) {
    control.OnClick = [this](TComponent& sender) { clicks.push_back(sender.Name()); };
  }
};

using CheckBoxTest = FormTest;

TEST_F(CheckBoxTest, OnClickRunsWhenTheStateChangesByCodeOrOperator) {
  auto& chb = Place<TCheckBox>("chbPPendente");
  ClickLog log;
  log.Watch(chb);
  chb.SetChecked(true);
  chb.SetChecked(true);
  chb.MouseClick(2, 2);
  EXPECT_FALSE(chb.Checked());
  chb.SetFocus();
  Press(chb, VK_SPACE);
  EXPECT_TRUE(chb.Checked());
  EXPECT_EQ(log.clicks.size(), 3u);
  chb.SetEnabled(false);
  chb.MouseClick(2, 2);
  EXPECT_TRUE(chb.Checked());
  EXPECT_EQ(log.clicks.size(), 3u);
}

struct RadioGroupFixture : FormTest {
  void SetUp() override {
    FormTest::SetUp();
    group = &Place<TGroupBox>("grbNrPedido");
    todos = &Place<TRadioButton>("rbtTNrPedido", group);
    intervalo = &Place<TRadioButton>("rbtIntervalo", group);
    lista = &Place<TRadioButton>("rbtLNrPedido", group);
    elsewhere = &Place<TRadioButton>("rbtOutroGrupo");
    for (TControl* c : {static_cast<TControl*>(todos), static_cast<TControl*>(intervalo),
                        static_cast<TControl*>(lista), static_cast<TControl*>(elsewhere)})
      log.Watch(*c);
  }
  TGroupBox* group = nullptr;
  TRadioButton *todos = nullptr, *intervalo = nullptr, *lista = nullptr, *elsewhere = nullptr;
  ClickLog log;
};

TEST_F(RadioGroupFixture, ArrowsMoveRoundTheGroupAndCheckWhatTheyReach) {
  todos->SetChecked(true);
  todos->SetFocus();
  intervalo->SetEnabled(false);  // passed over
  Press(*todos, VK_DOWN);
  EXPECT_TRUE(lista->Focused());
  EXPECT_TRUE(lista->Checked());
  EXPECT_FALSE(todos->Checked());
  Press(*lista, VK_RIGHT);  // round to the first
  EXPECT_TRUE(todos->Focused() && todos->Checked());
  Press(*todos, VK_UP);
  EXPECT_TRUE(lista->Checked());
  EXPECT_FALSE(elsewhere->Checked());
}

using AcceleratorTest = FormTest;

TEST_F(AcceleratorTest, AltWithAnAcceleratorActsOnItsControl) {
  auto& lbl = Place<TLabel>("lblFilial");
  auto& med = Place<TEdit>("medCdFilial");
  lbl.SetCaption("&Filial");
  lbl.SetFocusControl(&med);
  auto& chb = Place<TCheckBox>("chbBaixa");
  chb.SetCaption("&Baixa");
  auto& sbt = Place<TSpeedButton>("sbtSalvar");
  sbt.SetCaption("&Salvar");
  int clicks = 0;
  sbt.OnClick = [&](TComponent&) { ++clicks; };
  auto& off = Place<TCheckBox>("chbOff");
  off.SetCaption("&Urgente");
  off.SetEnabled(false);
  struct { TKey key; bool acted; } cases[] = {{'F', true}, {'B', true}, {'S', true}, {'U', false}, {'Z', false}};
  for (auto& c : cases) {
    TKey key = c.key;
    form->KeyDown(key, ssAlt);
    EXPECT_EQ(key == 0, c.acted) << static_cast<char>(c.key);
  }
  EXPECT_TRUE(chb.Checked());
  EXPECT_TRUE(chb.Focused());
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(off.Checked());
  TKey plain = 'B';
  form->KeyDown(plain, 0);  // without Alt: the focused control's key
  EXPECT_TRUE(chb.Checked());
}

TEST_F(RadioGroupFixture, CheckingByCodeUnchecksTheGroupAndClicksOnlyWhenNew) {
  elsewhere->SetChecked(true);
  todos->SetChecked(true);
  intervalo->SetChecked(true);
  intervalo->SetChecked(true);  // already checked: nothing runs
  EXPECT_FALSE(todos->Checked());
  EXPECT_TRUE(elsewhere->Checked());  // another parent, another group
  EXPECT_EQ(log.clicks, (std::vector<std::string>{"rbtOutroGrupo", "rbtTNrPedido", "rbtIntervalo"}));
  intervalo->SetChecked(false);  // unchecking by code runs nothing
  EXPECT_FALSE(intervalo->Checked());
  EXPECT_EQ(log.clicks.size(), 3u);
}

TEST_F(RadioGroupFixture, TheOperatorsClickOnACheckedButtonDoesNothing) {
  todos->SetChecked(true);
  log.clicks.clear();
  todos->MouseClick(1, 1);
  lista->MouseClick(1, 1);
  EXPECT_TRUE(lista->Checked());
  EXPECT_TRUE(lista->Focused());
  EXPECT_EQ(log.clicks, std::vector<std::string>{"rbtLNrPedido"});
}

TEST_F(RadioGroupFixture, OnlyTheCheckedButtonOfAGroupIsATabStop) {
  todos->SetChecked(true);
  EXPECT_TRUE(todos->TabStop);
  intervalo->SetChecked(true);
  EXPECT_FALSE(todos->TabStop);
  EXPECT_TRUE(intervalo->TabStop);
}

TEST_F(RadioGroupFixture, AClickRefusedByTheFocusedControlsExitChecksNothing) {
  auto& edit = Place<TEdit>("medDeIntervalo");
  edit.SetFocus();
  edit.OnExit = [](TComponent&) { throw Exception("Intervalo inicial deve ser informado."); };
  EXPECT_THROW(lista->MouseClick(1, 1), Exception);
  EXPECT_FALSE(lista->Checked());
  EXPECT_TRUE(edit.Focused());
  EXPECT_TRUE(log.clicks.empty());
}

TEST_F(RadioGroupFixture, DisabledOrHiddenButtonsIgnoreTheOperator) {
  group->SetEnabled(false);
  lista->MouseClick(1, 1);
  group->SetEnabled(true);
  group->SetVisible(false);
  lista->MouseClick(1, 1);
  EXPECT_FALSE(lista->Checked());
  lista->SetChecked(true);  // code still works
  EXPECT_TRUE(lista->Checked());
}

using ButtonTest = FormTest;

TEST_F(ButtonTest, OperatorClicksOnDisabledOrHiddenButtonsDoNothingCodeClicksRun) {
  auto& panel = Place<TPanel>("panMenu");
  auto& sbt = Place<TSpeedButton>("sbtFiltro", &panel);
  ClickLog log;
  log.Watch(sbt);
  sbt.SetEnabled(false);
  sbt.MouseClick(1, 1);
  sbt.SetEnabled(true);
  panel.SetEnabled(false);
  sbt.MouseClick(1, 1);
  panel.SetEnabled(true);
  sbt.SetVisible(false);
  sbt.MouseClick(1, 1);
  EXPECT_TRUE(log.clicks.empty());
  sbt.Click();
  sbt.SetVisible(true);
  sbt.MouseClick(1, 1);
  EXPECT_EQ(log.clicks.size(), 2u);
}

TEST_F(ButtonTest, ButtonTakesTheFocusAndSetsTheModalResult) {
  auto& btn = Place<TButton>("btnOk");
  btn.ModalResult = 1;
  ClickLog log;
  log.Watch(btn);
  btn.MouseClick(3, 3);
  EXPECT_TRUE(btn.Focused());
  EXPECT_EQ(form->ModalResult(), 1);
  Press(btn, VK_RETURN);
  EXPECT_EQ(log.clicks.size(), 2u);
}

TEST_F(ButtonTest, GroupedSpeedButtonsStayDownOneAtATime) {
  auto& a = Place<TSpeedButton>("sbtA");
  auto& b = Place<TSpeedButton>("sbtB");
  auto& plain = Place<TSpeedButton>("sbtC");
  a.GroupIndex = b.GroupIndex = 1;
  a.MouseClick(1, 1);
  EXPECT_TRUE(a.Down());
  b.MouseClick(1, 1);
  EXPECT_FALSE(a.Down());
  EXPECT_TRUE(b.Down());
  b.MouseClick(1, 1);  // without AllowAllUp it stays down
  EXPECT_TRUE(b.Down());
  plain.SetDown(true);  // no group: never stays down
  EXPECT_FALSE(plain.Down());
  EXPECT_FALSE(plain.AcceptsFocus());
}

using RadioGroupTest = FormTest;

TEST_F(RadioGroupTest, TheOperatorsPickRunsOnClickCodeDoesNot) {
  auto& rdg = Place<TRadioGroup>("rdgPrioridade");
  rdg.SetBounds(0, 0, 200, 100);
  rdg.SetColumns(2);
  rdg.Items = TStrings{"Baixa", "Normal", "Alta", "Urgente", "Prioritária"};
  ClickLog log;
  log.Watch(rdg);
  rdg.SetItemIndex(4);
  EXPECT_THROW(rdg.SetItemIndex(5), Exception);
  EXPECT_TRUE(log.clicks.empty());
  // Two columns of three: the fourth item starts the second column.
  TRect fourth = rdg.ItemRect(3);
  EXPECT_EQ(fourth.Left, rdg.ItemRect(0).Left + (200 - 10) / 2);
  EXPECT_EQ(fourth.Top, rdg.ItemRect(0).Top);
  rdg.MouseClick(fourth.Left + 3, fourth.Top + 3);
  EXPECT_EQ(rdg.ItemIndex(), 3);
  rdg.ClickItem(3);  // the same choice: nothing
  Press(rdg, VK_DOWN);
  EXPECT_EQ(rdg.ItemIndex(), 4);
  EXPECT_EQ(log.clicks.size(), 2u);
  rdg.Items = TStrings{"Sim", "Não"};
  EXPECT_EQ(rdg.ItemIndex(), -1);
}

using LabelTest = FormTest;

TEST_F(LabelTest, AcceleratorFocusesTheControlAndTheReferenceClearsItself) {
  auto& lbl = Place<TLabel>("lblFilial");
  auto* med = &Place<TEdit>("medCdFilial");
  lbl.SetCaption("&Filial && Cia");
  lbl.SetFocusControl(med);
  EXPECT_EQ(lbl.Accelerator(), 'F');
  EXPECT_EQ(lbl.PlainCaption(), "Filial & Cia");
  EXPECT_FALSE(lbl.AcceptsFocus());
  lbl.Activate();
  EXPECT_TRUE(med->Focused());
  delete med;
  EXPECT_EQ(lbl.FocusControl(), nullptr);
  lbl.Activate();  // nothing to focus
}

TEST(ComponentRefTest, EitherMayGoFirst) {
  auto* target = new TComponent(nullptr);
  {
    TComponentRef<TComponent> ref;
    ref.Reset(target);
    EXPECT_EQ(ref.Get(), target);
  }  // the reference goes first: the target forgets it
  auto ref = std::make_unique<TComponentRef<TComponent>>();
  ref->Reset(target);
  delete target;
  EXPECT_FALSE(*ref);
}

using LayoutTest = FormTest;

TEST_F(LayoutTest, PanelsLayOutInsideTheirBevelsAndTheSplitterResizes) {
  auto& page = Place<TPanel>("scbItemPed");
  page.SetBevelOuter(TBevelCut::bvNone);
  page.SetBounds(0, 0, 400, 300);
  auto& grid = Place<TPanel>("dbgItemPedido", &page);
  grid.SetHeight(140);
  grid.SetAlign(TAlign::alTop);
  auto& splitter = Place<TSplitter>("splComisVend", &page);
  splitter.SetAlign(TAlign::alTop);
  auto& rest = Place<TPanel>("panComisPosEst", &page);
  rest.SetAlign(TAlign::alClient);
  EXPECT_EQ(splitter.Top(), 140);
  EXPECT_EQ(rest.Top(), 143);
  EXPECT_EQ(rest.Height(), 157);
  EXPECT_EQ(splitter.ResizedControl(), &grid);
  EXPECT_EQ(splitter.DragBy(20), 20);
  EXPECT_EQ(grid.Height(), 160);
  EXPECT_EQ(rest.Top(), 163);
  EXPECT_EQ(splitter.DragBy(500), 137 - splitter.MinSize);  // the rest keeps MinSize
  EXPECT_EQ(rest.Height(), splitter.MinSize);
  EXPECT_EQ(splitter.DragBy(-1000), -(grid.Height() - splitter.MinSize));
  EXPECT_EQ(grid.Height(), splitter.MinSize);

  auto& raised = Place<TPanel>("panFilial");
  raised.SetBorderWidth(2);
  EXPECT_EQ(raised.ClientRect().Left, 3);
}

TEST(GlyphTest, PixelStringsBuildBitmapsAndBadOnesRaise) {
  const std::map<char, TColor> palette{{'.', clOlive}, {'#', clBlack}, {'w', clWhite}};
  TBitmap bitmap = BitmapFromPixels({".#w", "w#."}, palette);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.Pixel(2, 0), clWhite);
  EXPECT_EQ(bitmap.Pixel(0, 1), clWhite);
  EXPECT_EQ(PixelsOf(bitmap, palette), (std::vector<std::string>{".#w", "w#."}));
  EXPECT_THROW(BitmapFromPixels({".#", "."}, palette), Exception);
  EXPECT_THROW(BitmapFromPixels({".x"}, palette), Exception);
  EXPECT_THROW(BitmapFromPixels({}, palette), Exception);
}

}  // namespace
}  // namespace fw
