// Forms: focus and its exit/enter handlers, tab order, keys, shortcuts,
// creation, activation, modal loops, posted close, release, handlers by
// name and alignment.
#include <gtest/gtest.h>

#include "forms/application.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "testing/scripted_operator.h"

namespace fw {
namespace {

// A focusable control that records its enter and exit.
class Box : public TControl {
 public:
  Box(TComponent* owner, std::vector<std::string>* log) : TControl(owner), log_(log) {
    TabStop = true;
    OnEnter = [this](TComponent&) { log_->push_back("enter " + Name()); };
    OnExit = [this](TComponent&) {
      log_->push_back("exit " + Name());
      if (refuseExit) throw Exception("Campo inválido: " + Name());
    };
  }
  bool AcceptsFocus() const override { return true; }
  bool refuseExit = false;

 private:
  std::vector<std::string>* log_;
};

class TestForm : public TForm {
 public:
  explicit TestForm(TComponent* owner) : TForm(owner) {
    SetName("frmTeste");
    a = &Create<Box>("edtA", &log);
    b = &Create<Box>("edtB", &log);
    c = &Create<Box>("edtC", &log);
    for (Box* box : {a, b, c}) box->SetParent(this);
    a->TabOrder = 2;
    b->TabOrder = 0;
    c->TabOrder = 1;
    OnActivate = [this](TComponent&) { log.push_back("activate"); };
  }
  std::vector<std::string> log;
  Box *a, *b, *c;
};

struct FormFixture : ::testing::Test {
  void SetUp() override { Application().CreateForm(form); }
  void TearDown() override {
    delete form;
    Application().ProcessMessages();
  }
  TestForm* form = nullptr;
};

TEST_F(FormFixture, ActivationRunsBeforeTheInitialFocus) {
  form->SetActiveControl(form->a);
  form->Show();
  EXPECT_EQ(form->log, (std::vector<std::string>{"activate", "enter edtA"}));
  EXPECT_EQ(Screen().ActiveControl(), form->a);
  form->Hide();
  form->Show();  // re-activation: the handler again, the focus stays
  EXPECT_EQ(form->log.back(), "activate");
  EXPECT_TRUE(form->a->Focused());
}

TEST_F(FormFixture, FocusMovesRunExitThenEnterAndARefusingExitKeepsTheFocus) {
  form->Show();
  ASSERT_TRUE(form->b->Focused());  // first in tab order
  form->log.clear();
  form->c->SetFocus();
  EXPECT_EQ(form->log, (std::vector<std::string>{"exit edtB", "enter edtC"}));
  form->c->refuseExit = true;
  EXPECT_THROW(form->a->SetFocus(), Exception);
  EXPECT_TRUE(form->c->Focused());
  form->c->refuseExit = false;

  form->log.clear();
  form->a->SetEnabled(false);
  form->a->SetFocus();  // cannot take the focus: nothing happens
  form->b->SetVisible(false);
  form->b->SetFocus();
  EXPECT_TRUE(form->log.empty());
  EXPECT_TRUE(form->c->Focused());
}

TEST_F(FormFixture, TabAndShiftTabFollowTheTabOrderThroughTheSamePath) {
  form->Show();
  TKey tab = VK_TAB;
  form->KeyDown(tab, 0);
  EXPECT_TRUE(form->c->Focused());
  tab = VK_TAB;
  form->KeyDown(tab, 0);
  EXPECT_TRUE(form->a->Focused());
  tab = VK_TAB;
  form->KeyDown(tab, 0);  // wraps around
  EXPECT_TRUE(form->b->Focused());
  tab = VK_TAB;
  form->KeyDown(tab, ssShift);
  EXPECT_TRUE(form->a->Focused());
  form->a->refuseExit = true;
  tab = VK_TAB;
  EXPECT_THROW(form->KeyDown(tab, 0), Exception);
  EXPECT_TRUE(form->a->Focused());
  form->a->refuseExit = false;
}

TEST_F(FormFixture, KeysReachPreviewShortcutsThenTheFocusedControl) {
  auto& menu = form->Create<TMainMenu>("mnuMenu");
  form->Menu = &menu;
  auto& item = form->Create<TMenuItem>("mnuFiltrar");
  item.SetCaption("Fi&ltrar");
  item.ShortCut = TextToShortCut("Ctrl+L");
  menu.Items().Insert(item);
  int clicks = 0;
  item.OnClick = [&](TComponent&) { ++clicks; };
  std::vector<std::string> seen;
  form->b->OnKeyDown = [&](TComponent&, TKey& key, TShiftState) {
    seen.push_back("b " + std::to_string(key));
  };
  form->Show();
  TKey key = 'L';
  form->KeyDown(key, ssCtrl);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(seen.empty());
  item.SetEnabled(false);
  key = 'L';
  form->KeyDown(key, ssCtrl);  // a disabled item does not take the shortcut
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(seen, std::vector<std::string>{"b 76"});

  form->KeyPreview = true;
  form->OnKeyDown = [&](TComponent&, TKey& k, TShiftState) {
    seen.push_back("form");
    if (k == VK_F9) k = 0;  // consumed
  };
  key = VK_F9;
  form->KeyDown(key, 0);
  EXPECT_EQ(seen.back(), "form");
  EXPECT_EQ(item.PlainCaption(), "Filtrar");
  EXPECT_EQ(item.Accelerator(), 'l');
}

class FailingForm : public TForm {
 public:
  explicit FailingForm(TComponent* owner) : TForm(owner) {
    OnCreate = [](TComponent&) { throw Exception("falha na criação"); };
  }
};

TEST(FormCreation, AFailingCreationHandlerCreatesNothing) {
  FailingForm* form = nullptr;
  size_t before = Screen().Forms().size();
  EXPECT_THROW(Application().CreateForm(form), Exception);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(Screen().Forms().size(), before);
}

TEST_F(FormFixture, ModalLoopRunsPostedInputUntilAResult) {
  Application().Post([this] { form->c->SetFocus(); });
  Application().Post([this] { form->SetModalResult(mrOk); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(form->c->Focused());

  Application().Post([this] { form->Close(); });
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

// A modal form opened by a handler is shown (the display flushed) before
// the loop waits; the operator works in it with the normal cursor.
TEST_F(FormFixture, AModalFormIsShownBeforeTheLoopWaitsAndUsesTheNormalCursor) {
  std::vector<std::string> seen;
  Application().OnIdle = [&] {
    seen.push_back(std::string(form->Visible() ? "visible" : "hidden") +
                   (Screen().Cursor == crDefault ? " default" : " wait"));
  };
  Screen().Cursor = crHourGlass;
  Application().Post([this] { form->SetModalResult(mrOk); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  Application().OnIdle = nullptr;
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "visible default");
  EXPECT_EQ(Screen().Cursor, crHourGlass);
  Screen().Cursor = crDefault;
}

TEST_F(FormFixture, AModalFormWithoutScriptedInputFailsInsteadOfHanging) {
  EXPECT_THROW(form->ShowModal(), EModalStall);
  EXPECT_FALSE(form->Modal());
}

TEST_F(FormFixture, ErrorsInsideTheModalLoopAreReportedAndTheLoopGoesOn) {
  testing::ScriptedOperator op;
  op.ExpectError("algo falhou");
  Application().Post([] { throw Exception("algo falhou"); });
  Application().Post([] { throw EAbort(); });  // silent
  Application().Post([this] { form->SetModalResult(mrYes); });
  EXPECT_EQ(form->ShowModal(), mrYes);
}

TEST_F(FormFixture, APostedCloseWaitsForTheRunningHandler) {
  form->Show();
  bool visibleAfterPost = false;
  form->a->OnClick = [&](TComponent&) {
    Application().PostClose(*form);
    visibleAfterPost = form->Visible();
  };
  form->a->Click();
  EXPECT_TRUE(visibleAfterPost);
  EXPECT_TRUE(form->Visible());
  Application().ProcessMessages();
  EXPECT_FALSE(form->Visible());
}

TEST(FormClose, CloseQueryCanRefuseAndCaFreeReleasesAfterTheHandler) {
  TestForm* form = nullptr;
  Application().CreateForm(form);
  bool allow = false;
  form->OnCloseQuery = [&](TComponent&, bool& canClose) { canClose = allow; };
  form->OnClose = [](TComponent&, TCloseAction& action) { action = TCloseAction::caFree; };
  form->Show();
  form->Close();
  EXPECT_TRUE(form->Visible());
  allow = true;
  int freed = 0;
  form->FreeNotification([&] { ++freed; });
  form->Close();
  EXPECT_EQ(freed, 0);  // released only once the running handler is done
  EXPECT_TRUE(Screen().HasForm(form));
  Application().ProcessMessages();
  EXPECT_EQ(freed, 1);
  EXPECT_FALSE(Screen().HasForm(form));
}

TEST_F(FormFixture, ShowRestoresAMinimizedForm) {
  form->Show();
  form->SetWindowState(TWindowState::wsMinimized);
  form->Show();
  EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
}

class BaseScreen : public TForm {
 public:
  explicit BaseScreen(TComponent* owner) : TForm(owner) {
    Register<void(TComponent&)>("btnClick", [this](TComponent&) { calls.push_back("base"); });
    button = &Create<Box>("btnBotao", &log);
    button->OnClick = Handler<void(TComponent&)>("btnClick");
    button->OnEnter = Handler<void(TComponent&)>("btnEnter");
  }
  std::vector<std::string> calls, log;
  Box* button;
};

class DerivedScreen : public BaseScreen {
 public:
  explicit DerivedScreen(TComponent* owner) : BaseScreen(owner) {
    Register<void(TComponent&)>("btnClick", [this](TComponent&) { calls.push_back("derived"); });
  }
};

TEST(FormHandlers, ADerivedHandlerOfTheSameNameReplacesTheBaseOne) {
  DerivedScreen* derived = nullptr;
  Application().CreateForm(derived);
  derived->button->Click();
  EXPECT_EQ(derived->calls, std::vector<std::string>{"derived"});
  derived->Register<void(TComponent&)>("btnClick", nullptr);  // switched off
  derived->button->Click();
  EXPECT_EQ(derived->calls.size(), 1u);
  EXPECT_THROW(derived->button->OnEnter(*derived->button), Exception);  // never registered
  // Bound as optional, a name without a handler runs nothing; one
  // registered later runs.
  derived->button->OnEnter = derived->OptionalHandler<void(TComponent&)>("btnEnter");
  EXPECT_NO_THROW(derived->button->OnEnter(*derived->button));
  derived->Register<void(TComponent&)>("btnEnter",
                                       [&](TComponent&) { derived->calls.push_back("enter"); });
  derived->button->OnEnter(*derived->button);
  EXPECT_EQ(derived->calls, (std::vector<std::string>{"derived", "enter"}));
  delete derived;
}

TEST(ControlLayout, AlignedChildrenFillTheParentInOrder) {
  std::vector<std::string> log;
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  Box top(&form, &log), bottom(&form, &log), client(&form, &log), loose(&form, &log);
  for (Box* b : {&top, &bottom, &client, &loose}) b->SetParent(&form);
  top.SetHeight(40);
  top.SetAlign(TAlign::alTop);
  bottom.SetHeight(20);
  bottom.SetAlign(TAlign::alBottom);
  client.SetAlign(TAlign::alClient);
  loose.SetBounds(5, 5, 10, 10);
  EXPECT_EQ(top.BoundsRect(), (TRect{0, 0, 400, 40}));
  EXPECT_EQ(bottom.BoundsRect(), (TRect{0, 280, 400, 300}));
  EXPECT_EQ(client.BoundsRect(), (TRect{0, 40, 400, 280}));
  EXPECT_EQ(loose.BoundsRect(), (TRect{5, 5, 15, 15}));
  top.SetVisible(false);
  EXPECT_EQ(client.BoundsRect(), (TRect{0, 0, 400, 280}));
  form.SetHeight(200);
  EXPECT_EQ(bottom.BoundsRect(), (TRect{0, 180, 400, 200}));
}

TEST(ControlState, UsableAndShowingFollowEveryParent) {
  std::vector<std::string> log;
  TForm form(nullptr);
  Box panel(&form, &log), inner(&form, &log);
  panel.SetParent(&form);
  inner.SetParent(&panel);
  form.SetVisible(true);
  EXPECT_TRUE(inner.CanFocus());
  panel.SetEnabled(false);
  EXPECT_FALSE(inner.Usable());
  EXPECT_FALSE(inner.CanFocus());
  panel.SetEnabled(true);
  panel.SetVisible(false);
  EXPECT_FALSE(inner.Showing());
  EXPECT_THROW(panel.SetParent(&inner), Exception);
}

}  // namespace
}  // namespace fw
