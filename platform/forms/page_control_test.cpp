// Page controls: which page shows, what runs for code and for the operator,
// focus leaving a page, sheets coming and going.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "forms/controls_test_support.h"
#include "forms/edit.h"
#include "forms/page_control.h"

namespace fw {
namespace {

struct PageControlTest : testing::FormTest {
  void SetUp() override {
    FormTest::SetUp();
    pgc = &Place<TPageControl>("pgcPadrao");
    pgc->SetBounds(0, 0, 600, 400);
    for (const char* name : {"tshPadrao", "tshDadosGerais", "tshItemPedido"}) {
      TTabSheet& sheet = form->Create<TTabSheet>(name, pgc);
      sheet.SetCaption(name + 3);
      sheets.push_back(&sheet);
    }
    pgc->OnChange = [this](TComponent&) { log.push_back("change " + pgc->ActivePage()->Name()); };
  }
  TPageControl* pgc = nullptr;
  std::vector<TTabSheet*> sheets;
  std::vector<std::string> log;
};

TEST_F(PageControlTest, OnlyTheActivePageShowsAndFillsBelowTheTabs) {
  EXPECT_EQ(pgc->ActivePage(), sheets[0]);  // the first sheet added
  EXPECT_TRUE(sheets[0]->Showing());
  EXPECT_FALSE(sheets[1]->Showing());
  EXPECT_EQ(sheets[0]->BoundsRect(), (TRect{0, pgc->TabHeight, 600, 400}));
  pgc->SetActivePage(sheets[2]);
  EXPECT_FALSE(sheets[0]->Showing());
  EXPECT_TRUE(sheets[2]->Showing());
  EXPECT_EQ(sheets[2]->BoundsRect(), (TRect{0, pgc->TabHeight, 600, 400}));
  EXPECT_EQ(pgc->ActivePageIndex(), 2);
  EXPECT_TRUE(log.empty());  // from code: nothing runs
}

TEST_F(PageControlTest, TabClickOnAnEnabledVisibleTabChangesAndRunsOnChange) {
  pgc->TabClick(*sheets[1]);
  EXPECT_EQ(pgc->ActivePage(), sheets[1]);
  EXPECT_TRUE(pgc->Focused());
  pgc->TabClick(*sheets[1]);  // the active tab: nothing
  sheets[2]->SetEnabled(false);
  pgc->TabClick(*sheets[2]);
  sheets[2]->SetEnabled(true);
  sheets[2]->SetTabVisible(false);
  pgc->TabClick(*sheets[2]);
  pgc->SetEnabled(false);
  pgc->TabClick(*sheets[0]);
  EXPECT_EQ(pgc->ActivePage(), sheets[1]);
  EXPECT_EQ(log, std::vector<std::string>{"change tshDadosGerais"});
}

TEST_F(PageControlTest, OnChangingMayRefuse) {
  pgc->OnChanging = [this](TComponent&, bool& allow) {
    allow = pgc->ActivePage() != sheets[0];
  };
  pgc->TabClick(*sheets[1]);
  EXPECT_EQ(pgc->ActivePage(), sheets[0]);
  EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, TabClicksByPositionAndArrowKeysSkipUnusableTabs) {
  TRect second = pgc->TabRect(*sheets[1]);
  ASSERT_GT(second.Width(), 0);
  pgc->MouseClick(second.Left + 1, 5);
  EXPECT_EQ(pgc->ActivePage(), sheets[1]);
  pgc->MouseClick(second.Left + 1, pgc->TabHeight + 5);  // below the tabs: not a tab
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(pgc->TabRect(*sheets[1]), TRect{});
  pgc->SetActivePage(sheets[0]);
  sheets[1]->SetTabVisible(true);
  sheets[1]->SetEnabled(false);
  TKey right = VK_RIGHT;
  pgc->KeyDown(right, 0);
  EXPECT_EQ(pgc->ActivePage(), sheets[2]);
  EXPECT_EQ(log, (std::vector<std::string>{"change tshDadosGerais", "change tshItemPedido"}));
}

TEST_F(PageControlTest, LeavingAPageByCodeTakesTheFocusOutOfIt) {
  auto& grid = Place<TEdit>("dbgItemPedido", sheets[2]);
  pgc->SetActivePage(sheets[2]);
  grid.SetFocus();
  bool exited = false;
  grid.OnExit = [&](TComponent&) { exited = true; };
  pgc->SetActivePage(sheets[0]);
  EXPECT_TRUE(exited);
  EXPECT_TRUE(pgc->Focused());
}

TEST_F(PageControlTest, AnExitErrorKeepsThePageAndTheFocus) {
  auto& edit = Place<TEdit>("medValor", sheets[0]);
  edit.SetFocus();
  edit.OnExit = [](TComponent&) { throw Exception("Valor inválido."); };
  EXPECT_THROW(pgc->SetActivePage(sheets[1]), Exception);
  EXPECT_EQ(pgc->ActivePage(), sheets[0]);
  EXPECT_THROW(pgc->TabClick(*sheets[1]), Exception);
  EXPECT_EQ(pgc->ActivePage(), sheets[0]);
  EXPECT_TRUE(edit.Focused());
  EXPECT_TRUE(log.empty());
}

TEST_F(PageControlTest, SheetsMoveAndGoAway) {
  sheets[2]->SetPageIndex(0);
  EXPECT_EQ(&pgc->Pages(0), sheets[2]);
  EXPECT_EQ(sheets[0]->PageIndex(), 1);
  TPageControl& other = Place<TPageControl>("pgcOutro");
  EXPECT_THROW(other.SetActivePage(sheets[0]), Exception);
  delete sheets[0];  // the active page: the next one takes its place
  EXPECT_EQ(pgc->PageCount(), 2);
  EXPECT_EQ(pgc->ActivePage(), sheets[1]);
  EXPECT_TRUE(sheets[1]->Showing());
  sheets[1]->SetPageControl(&other);
  EXPECT_EQ(pgc->ActivePage(), sheets[2]);
  EXPECT_EQ(other.ActivePage(), sheets[1]);
  EXPECT_EQ(sheets[1]->Parent(), &other);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace fw
