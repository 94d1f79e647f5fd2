// The display's model updates, input decoding with its refusals, the
// operator boxes answered from the page, and the HTTP session rules.
#include <gtest/gtest.h>
#include <httplib.h>

#include <functional>
#include <set>

#include "data/client_dataset.h"
#include "display/display_interaction.h"
#include "display/display_server.h"
#include "display/grid_json.h"
#include "display/input_decoder.h"
#include "display/model_json.h"
#include "display/model_tracker.h"
#include "display/palette.h"
#include "forms/application.h"
#include "forms/buttons.h"
#include "forms/check_boxes.h"
#include "forms/containers.h"
#include "forms/db_navigator.h"
#include "forms/page_control.h"
#include "forms/radio_group.h"
#include "forms/db_grid.h"
#include "forms/edit.h"
#include "forms/menus.h"
#include "forms/static_controls.h"

namespace display {
namespace {

using nlohmann::json;

class Sample : public fw::TForm {
 public:
  explicit Sample(fw::TComponent* owner) : fw::TForm(owner) {
    SetName("frmAmostra");
    edit = &Create<fw::TEdit>("edtNome");
    edit->SetParent(this);
    check = &Create<fw::TCheckBox>("chbAtivo");
    check->SetParent(this);
    check->SetCaption("Ativo");
    check->OnClick = [this](fw::TComponent&) { clicks++; };
  }
  fw::TEdit* edit;
  fw::TCheckBox* check;
  int clicks = 0;
};

struct DisplayFixture : ::testing::Test {
  void SetUp() override {
    fw::Application().CreateForm(form);
    form->Show();
  }
  void TearDown() override {
    delete form;
    fw::Application().ProcessMessages();
  }
  Sample* form = nullptr;
};

const json* FindControl(const json& update, const std::string& name) {
  for (const json& c : update["controls"])
    if (c["name"] == name) return &c;
  return nullptr;
}

TEST_F(DisplayFixture, UpdatesCarryOnlyWhatChanged) {
  ModelTracker tracker;
  json first = tracker.Update(false);
  ASSERT_FALSE(first.is_null());
  ASSERT_NE(FindControl(first, "edtNome"), nullptr);
  EXPECT_EQ(first["order"].back(), "frmAmostra");
  EXPECT_TRUE(tracker.Update(false).is_null());  // nothing changed

  form->edit->SetText("Ana");
  json second = tracker.Update(false);
  ASSERT_EQ(second["controls"].size(), 1u);
  EXPECT_EQ(second["controls"][0]["props"]["text"], "Ana");

  delete form->check;
  json third = tracker.Update(false);
  ASSERT_EQ(third["removedControls"].size(), 1u);
  EXPECT_EQ(third["removedControls"][0]["name"], "chbAtivo");
  form->check = nullptr;
  EXPECT_EQ(tracker.Update(true)["controls"].size(), 1u);  // full: everything again
}

// Inside a hidden container nothing is written until it shows again; then
// the same update has the container and what changed inside it.
TEST_F(DisplayFixture, AHiddenContainersControlsWaitUntilItShows) {
  auto& panel = form->Create<fw::TPanel>("panDentro");
  panel.SetParent(form);
  auto& inner = form->Create<fw::TEdit>("edtDentro");
  inner.SetParent(&panel);
  ModelTracker tracker;
  ASSERT_NE(FindControl(tracker.Update(false), "edtDentro"), nullptr);
  panel.SetVisible(false);
  inner.SetText("escondido");
  json hidden = tracker.Update(false);
  EXPECT_NE(FindControl(hidden, "panDentro"), nullptr);
  EXPECT_EQ(FindControl(hidden, "edtDentro"), nullptr);
  EXPECT_TRUE(hidden["removedControls"].empty());
  // A control moved into the hidden container is sent with its new parent.
  form->edit->SetParent(&panel);
  json moved = tracker.Update(false);
  ASSERT_NE(FindControl(moved, "edtNome"), nullptr);
  EXPECT_EQ((*FindControl(moved, "edtNome"))["parent"], "panDentro");
  panel.SetVisible(true);
  json shown = tracker.Update(false);
  ASSERT_NE(FindControl(shown, "edtDentro"), nullptr);
  EXPECT_EQ((*FindControl(shown, "edtDentro"))["props"]["text"], "escondido");
}

TEST_F(DisplayFixture, InputReachesUsableControlsOnly) {
  DisplayInteraction interaction;
  InputDecoder decoder(interaction);
  std::vector<std::string> log;
  decoder.Log = [&](const std::string& s) { log.push_back(s); };
  EXPECT_TRUE(decoder.Apply({{"type", "click"}, {"form", "frmAmostra"}, {"name", "chbAtivo"}}));
  EXPECT_EQ(form->clicks, 1);
  form->check->SetEnabled(false);
  EXPECT_FALSE(decoder.Apply({{"type", "click"}, {"form", "frmAmostra"}, {"name", "chbAtivo"}}));
  EXPECT_FALSE(decoder.Apply({{"type", "click"}, {"form", "frmOutro"}, {"name", "x"}}));
  EXPECT_FALSE(decoder.Apply({{"type", "click"}, {"form", "frmAmostra"}, {"name", "naoExiste"}}));
  EXPECT_FALSE(decoder.Apply({{"type", "dança"}, {"form", "frmAmostra"}, {"name", "edtNome"}}));
  EXPECT_FALSE(decoder.Apply(json::array()));
  EXPECT_EQ(form->clicks, 1);
  EXPECT_EQ(log.size(), 5u);

  EXPECT_TRUE(decoder.Apply({{"type", "focus"}, {"form", "frmAmostra"}, {"name", "edtNome"}}));
  EXPECT_TRUE(decoder.Apply({{"type", "char"}, {"form", "frmAmostra"}, {"text", "Zé"}}));
  EXPECT_EQ(form->edit->Text(), "Zé");
  EXPECT_TRUE(decoder.Apply({{"type", "key"}, {"form", "frmAmostra"}, {"key", 8}}));
  EXPECT_EQ(form->edit->Text(), "Z");
}

TEST_F(DisplayFixture, ABoxWaitsForItsAnswerAndBlocksEverythingElse) {
  DisplayInteraction interaction;
  InputDecoder decoder(interaction);
  int changes = 0;
  interaction.Changed = [&] { ++changes; };
  fw::Application().Post([&] {
    EXPECT_TRUE(interaction.Open());
    EXPECT_EQ(interaction.Overlay()["messagebox"]["text"], "Confirma operação?");
    EXPECT_FALSE(decoder.Apply({{"type", "click"}, {"form", "frmAmostra"}, {"name", "chbAtivo"}}));
    EXPECT_FALSE(decoder.Apply({{"type", "answer"}, {"id", 999}, {"result", "yes"}}));
    EXPECT_FALSE(decoder.Apply({{"type", "answer"}, {"id", 1}, {"result", "ok"}}));  // no such button
    EXPECT_TRUE(decoder.Apply({{"type", "answer"}, {"id", 1}, {"result", "no"}}));
  });
  int result = interaction.MessageDlg("Confirma operação?", fw::TMsgDlgType::mtConfirmation,
                                      fw::mbYes | fw::mbNo, 0);
  EXPECT_EQ(result, fw::mrNo);
  EXPECT_FALSE(interaction.Open());
  EXPECT_EQ(form->clicks, 0);
  EXPECT_GE(changes, 2);
}

// A form with a grid of 30 rows, 3 shown, and an edit beside it.
class GridSample : public fw::TForm {
 public:
  explicit GridSample(fw::TComponent* owner) : fw::TForm(owner) {
    SetName("frmLista");
    std::string rows;
    for (int i = 1; i <= 30; ++i) rows += (i > 1 ? ",[\"" : "[\"") + std::to_string(i) + "\"]";
    cds.SetData(fw::TDataPacket::Parse(
        R"({"fields": [{"name": "NRPEDIDO", "type": "string", "size": 10}], "rows": [)" + rows + "]}"));
    cds.AfterScroll = [this](fw::TDataSet& ds) { scrolls.push_back(ds.RecNo()); };
    grid = &Create<fw::TDBGrid>("dbgLista");
    grid->SetParent(this);
    grid->SetBounds(0, 0, 200, 19 + 3 * 19);
    grid->SetDataSource(&dts);
    edit = &Create<fw::TEdit>("edtNome");
    edit->SetParent(this);
  }
  fw::TClientDataSet cds{"cdsLista"};
  fw::TDataSource dts{"dtsLista", &cds};
  fw::TDBGrid* grid;
  fw::TEdit* edit;
  std::vector<int> scrolls;
};

struct GridInputFixture : ::testing::Test {
  void SetUp() override {
    fw::Application().CreateForm(form);
    form->Show();
    decoder.Log = [this](const std::string& s) { log.push_back(s); };
  }
  void TearDown() override {
    delete form;
    fw::Application().ProcessMessages();
  }
  bool Send(json event) {
    event["form"] = "frmLista";
    if (!event.contains("name")) event["name"] = "dbgLista";
    return decoder.Apply(event);
  }
  GridSample* form = nullptr;
  DisplayInteraction interaction;
  InputDecoder decoder{interaction};
  std::vector<std::string> log;
};

// The texts the updates are written from say what the documents say,
// for every kind written straight: grids with each canvas operation,
// pictures, and texts that need escaping or are not UTF-8.
TEST_F(GridInputFixture, TextFormsMatchTheDocuments) {
  fw::TBitmap picture(2, 2, fw::clRed);
  picture.SetPixel(1, 1, 0x00FF00);
  form->grid->OnDrawColumnCell = [&](fw::TComponent&, const fw::TRect& rect, int, fw::TColumn&,
                                     fw::TGridDrawState) {
    fw::TCanvas& canvas = form->grid->Canvas();
    canvas.TextOut(rect.Left, rect.Top, "\"citação\"\n\xff");
    canvas.BrushCopy(rect, picture, {0, 0, 2, 2}, fw::clRed);
    canvas.DrawFocusRect(rect);
  };
  auto& glyph = form->Create<fw::TSpeedButton>("sbtGlyph");
  glyph.SetParent(form);
  glyph.SetGlyph(picture);
  auto& image = form->Create<fw::TImage>("imgFoto");
  image.SetParent(form);
  image.SetPicture(picture);
  form->edit->SetText("tab\tand \"quotes\" \\ é");
  auto& menu = form->Create<fw::TMainMenu>("mnuPrincipal");
  form->Menu = &menu;
  auto& file = form->Create<fw::TMenuItem>("mnuArquivo");
  file.SetCaption("&Arquivo");
  menu.Items().Insert(file);
  auto& close = form->Create<fw::TMenuItem>("mnuSair");
  close.SetCaption("Sai&r");
  close.ShortCut = fw::TextToShortCut("Ctrl+Q");
  file.Insert(close);

  std::vector<fw::TControl*> more;
  auto place = [&](auto& c, const char* caption) -> auto& {
    c.SetParent(form);
    c.SetCaption(caption);
    more.push_back(&c);
    return c;
  };
  place(form->Create<fw::TCheckBox>("chbAtivo"), "Ativo \"sim\"").SetChecked(true);
  place(form->Create<fw::TLabel>("lblNome"), "Nome:\xff");
  place(form->Create<fw::TPanel>("panBase"), "");
  auto& pages = place(form->Create<fw::TPageControl>("pgcPaginas"), "");
  place(form->Create<fw::TTabSheet>("tshUm", &pages), "Um & dois");
  auto& group = place(form->Create<fw::TRadioGroup>("rdgTipo"), "Tipo");
  group.Items = fw::TStrings{"Pedido", "Orçamento"};
  group.SetItemIndex(1);
  place(form->Create<fw::TDBNavigator>("dbnLista"), "").SetDataSource(form->grid->DataSource());

  // What the page gets of a document: its dump, not UTF-8 replaced.
  auto sent = [](const json& doc) { return json::parse(doc.dump(-1, ' ', false, json::error_handler_t::replace)); };
  more.insert(more.end(), {form->grid, form->edit, &glyph, &image});
  for (fw::TControl* c : more)
    EXPECT_EQ(json::parse(ControlText(*form, *c)), sent(ControlJson(*form, *c))) << c->Name();
  // A picture written before and changed since is written as it is now.
  fw::TBitmap changed = picture;
  changed.SetPixel(0, 0, 0x00FF00);
  image.SetPicture(changed);
  EXPECT_EQ(json::parse(ControlText(*form, image)), sent(ControlJson(*form, image)));
  EXPECT_EQ(json::parse(ControlText(*form, image))["props"]["picture"]["pixels"][0], 0x00FF00);
  EXPECT_EQ(json::parse(FormText(*form)), sent(FormJson(*form)));
  EXPECT_EQ(json::parse(FormText(*form))["menu"][0]["items"][0]["shortcut"], "Ctrl+Q");
  fw::TRecordingCanvas canvas;
  form->grid->Paint(canvas);
  json grid = GridJson(*form->grid);
  json ops = grid["ops"];
  ASSERT_EQ(ops.size(), canvas.Ops().size());
  std::set<std::string> kinds;
  size_t named = 0;
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].contains("picture")) {  // each picture once, named by its place
      ops[i]["bitmap"] = grid["pictures"].at(ops[i]["picture"].get<size_t>());
      ops[i].erase("picture");
      ++named;
    }
    EXPECT_EQ(ops[i], sent(CanvasOpJson(canvas.Ops()[i]))) << i;
    kinds.insert(ops[i]["op"].get<std::string>() + (ops[i].contains("clip") && ops[i]["clip"].is_null() ? "-out" : ""));
  }
  EXPECT_EQ(kinds, (std::set<std::string>{"fill", "text", "text-out", "focus", "bitmap"}));
  EXPECT_GT(named, grid["pictures"].size());
}

// The operations with their pictures in them: "picture" names one of the
// paint's own, "like" a kept operation (which must have one).
json Drawn(json ops, const json& pictures, size_t head = 0, size_t written = 0) {
  for (json& op : ops)
    if (op.contains("picture")) op["bitmap"] = pictures.at(op["picture"].get<size_t>()), op.erase("picture");
  for (json& op : ops) {
    if (!op.contains("like")) continue;
    size_t like = op["like"];
    EXPECT_TRUE(like < head || like >= head + written) << like;
    op["bitmap"] = ops.at(like).at("bitmap"), op.erase("like");
  }
  return ops;
}

// A grid sent before is sent as a change of that paint: the page's
// operations kept from both ends and the written ones make the new paint,
// and a picture a kept operation has is not written again.
TEST_F(GridInputFixture, AGridIsSentAsAChangeOfItsLastPaint) {
  fw::TBitmap odd(2, 2, fw::clRed), even(2, 2, fw::clBlue);
  fw::TClientDataSet& cds = form->cds;
  form->grid->SetBounds(0, 0, 200, 19 + 8 * 19);  // rows kept below the moved cursor
  form->grid->OnDrawColumnCell = [&](fw::TComponent&, const fw::TRect& rect, int, fw::TColumn&,
                                     fw::TGridDrawState) {
    fw::TRect corner{rect.Left, rect.Top, rect.Left + 2, rect.Top + 2};
    bool isOdd = std::stoi(cds.FieldByName("NRPEDIDO").AsString()) % 2;
    form->grid->Canvas().BrushCopy(corner, isOdd ? odd : even, {0, 0, 2, 2}, fw::clWhite);
  };
  ModelTracker tracker;
  json whole = (*FindControl(tracker.Update(false), "dbgLista"))["props"];
  ASSERT_FALSE(whole.contains("keep"));
  whole["ops"] = Drawn(whole["ops"], whole["pictures"]);
  const std::vector<std::pair<const char*, std::function<void()>>> moves = {
      {"next", [&] { cds.Next(); }}, {"next", [&] { cds.Next(); }}, {"prior", [&] { cds.Prior(); }},
      {"last", [&] { cds.Last(); }}, {"first", [&] { cds.First(); }}};
  size_t likes = 0;
  for (const auto& [key, move] : moves) {
    move();
    json update = tracker.Update(false);
    const json* grid = FindControl(update, "dbgLista");
    ASSERT_NE(grid, nullptr) << key;
    json change = (*grid)["props"];
    size_t head = change["keep"]["ops"][0], tail = change["keep"]["ops"][1];
    ASSERT_LE(head + tail, whole["ops"].size());
    json ops = json::array();
    for (size_t i = 0; i < head; ++i) ops.push_back(whole["ops"][i]);
    for (const json& op : change["ops"]) ops.push_back(op), likes += op.contains("like");
    for (size_t i = whole["ops"].size() - tail; i < whole["ops"].size(); ++i) ops.push_back(whole["ops"][i]);
    json fresh = GridJson(*form->grid);
    fresh["ops"] = Drawn(fresh["ops"], fresh["pictures"]);
    EXPECT_EQ(Drawn(ops, change["pictures"], head, change["ops"].size()), fresh["ops"]) << key;
    EXPECT_LT(change["ops"].size(), fresh["ops"].size()) << key;
    EXPECT_EQ(change["keep"]["rows"].get<bool>() ? whole["rows"] : change["rows"], fresh["rows"]) << key;
    EXPECT_EQ(change["current"], fresh["current"]);
    whole = fresh;
  }
  EXPECT_GT(likes, 0u);
  EXPECT_TRUE(tracker.Update(false).is_null());  // the same paint is not sent again
}

// A paint that fails leaves the update unsent: the next one is whole, so
// nothing met before the failure counts as sent.
TEST_F(GridInputFixture, AnUpdateThatFailsIsFollowedByAWholeOne) {
  form->grid->SetParent(nullptr);
  form->grid->SetParent(form);  // met after the edit
  ModelTracker tracker;
  ASSERT_FALSE(tracker.Update(false).is_null());
  form->edit->SetText("antes");
  form->grid->OnDrawColumnCell = [](fw::TComponent&, const fw::TRect&, int, fw::TColumn&,
                                     fw::TGridDrawState) { throw fw::Exception("falhou"); };
  EXPECT_THROW(tracker.Update(false), fw::Exception);
  form->grid->OnDrawColumnCell = nullptr;
  json next = tracker.Update(false);
  EXPECT_TRUE(next["full"].get<bool>());
  ASSERT_NE(FindControl(next, "edtNome"), nullptr);
  EXPECT_EQ((*FindControl(next, "edtNome"))["props"]["text"], "antes");
  EXPECT_FALSE((*FindControl(next, "dbgLista"))["props"].contains("keep"));
}

// Left out: what a fill soon after covers whole; kept: what it covers in
// part, an unclipped text, and what only a fill too far on covers.
TEST(DropCoveredOps, LeavesOutOnlyWhatALaterFillCoversWhole) {
  using Op = fw::TCanvasOp;
  // Operations by letter: T a clipped text of the cell, R its focus
  // rectangle, F a fill of it, f a fill one pixel short of it, O an
  // unclipped text, B a fill of the whole canvas, x a fill elsewhere
  // (each x somewhere else).
  auto ops = [](std::string_view letters) {
    std::vector<Op> out;
    for (char l : letters) {
      Op o;
      o.Rect = {0, 0, 80, 18};
      if (l == 'T') o.Kind = Op::TextRect;
      if (l == 'R') o.Kind = Op::DrawFocusRect;
      if (l == 'O') o.Kind = Op::TextOut;
      if (l == 'f') o.Rect = {0, 0, 79, 18};
      if (l == 'B') o.Rect = {0, 0, 500, 500};
      int n = static_cast<int>(out.size());
      if (l == 'x') o.Rect = {100 + 10 * n, 0, 105 + 10 * n, 18};
      o.Text = std::string(1, l);
      out.push_back(o);
    }
    return out;
  };
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"TRF", "F"}, {"Tf", "Tf"}, {"OB", "OB"}, {"TxxxF", "xxxF"}, {"TxxxxxxxxF", "TxxxxxxxxF"}};
  for (const auto& [given, kept] : cases) {
    std::vector<Op> list = ops(given);
    DropCoveredOps(list);
    std::string left;
    for (const Op& o : list) left += o.Text;
    EXPECT_EQ(left, kept) << given;
  }
}

TEST_F(GridInputFixture, WheelAndScrollBarEventsMoveTheGridsRows) {
  EXPECT_TRUE(Send({{"type", "wheel"}, {"delta", 2}}));
  EXPECT_TRUE(Send({{"type", "scroll"}, {"action", "linedown"}}));
  EXPECT_TRUE(Send({{"type", "scroll"}, {"action", "pagedown"}}));
  EXPECT_TRUE(Send({{"type", "scroll"}, {"action", "lineup"}}));
  EXPECT_TRUE(Send({{"type", "scroll"}, {"action", "pageup"}}));
  EXPECT_TRUE(Send({{"type", "scroll"}, {"action", "position"}, {"recNo", 25}}));
  EXPECT_TRUE(Send({{"type", "wheel"}, {"delta", -1}}));
  EXPECT_EQ(form->scrolls, (std::vector<int>{7, 8, 11, 10, 7, 25, 22}));
  // Out-of-range numbers are clamped, not converted blindly.
  EXPECT_TRUE(Send({{"type", "wheel"}, {"delta", 1e300}}));
  EXPECT_EQ(form->grid->DataSet()->RecNo(), 30);
  EXPECT_TRUE(Send({{"type", "scroll"}, {"action", "position"}, {"recNo", -1e300}}));
  EXPECT_EQ(form->grid->DataSet()->RecNo(), 1);
  // The grid's JSON tells the page where the thumb goes.
  json state = ControlJson(*form, *form->grid)["props"];
  EXPECT_EQ(state["recordCount"], 30);
  EXPECT_EQ(state["visibleRows"], 3);
  EXPECT_EQ(state["current"], 1);
  EXPECT_EQ(state["scrollBar"], fw::TDBGrid::kScrollBarWidth);
  EXPECT_TRUE(log.empty());
}

TEST_F(GridInputFixture, FieldsOfTheWrongTypeAreRefusedAndLoggedCutAndClean) {
  std::string hostile = "\n" + std::string(500, 'x');
  const std::vector<std::pair<json, std::string>> cases = {
      {{{"type", "wheel"}, {"delta", "3"}}, "giro não numérico em dbgLista: '3'"},
      {{{"type", "scroll"}, {"action", "position"}, {"recNo", {1}}}, "posição não numérica"},
      {{{"type", "click"}, {"x", 1}, {"y", hostile}}, "coordenada não numérica em dbgLista: '?xxx"},
      {{{"type", "key"}, {"key", "13"}}, "tecla não numérica: '13'"},
      {{{"type", "key"}}, "tecla não numérica: ausente"},
      {{{"type", "answer"}, {"id", "1"}}, "identificador não numérico em answer"},
      {{{"type", "pick"}, {"id", 1}, {"cancel", "sim"}}, "\"cancel\" não é lógico"},
      {{{"type", hostile}}, "tipo de evento desconhecido: '?xxx"},
      {{{"type", "click"}, {"name", hostile}}, "controle inexistente: '?xxx"},
  };
  for (const auto& [event, expected] : cases) {
    log.clear();
    EXPECT_FALSE(Send(event)) << event.dump();
    ASSERT_EQ(log.size(), 1u) << event.dump();
    EXPECT_NE(log[0].find(expected), std::string::npos) << log[0];
    EXPECT_LT(log[0].size(), 120u) << log[0];
    EXPECT_EQ(log[0].find('\n'), std::string::npos);
  }
  EXPECT_TRUE(form->scrolls.empty());
}

TEST_F(GridInputFixture, ScrollingIsRefusedWhereAClickWouldBe) {
  EXPECT_FALSE(Send({{"type", "wheel"}, {"name", "edtNome"}, {"delta", 1}}));  // not a grid
  EXPECT_FALSE(Send({{"type", "scroll"}, {"action", "sideways"}}));
  form->grid->SetEnabled(false);
  EXPECT_FALSE(Send({{"type", "wheel"}, {"delta", 1}}));
  form->grid->SetEnabled(true);
  form->grid->SetVisible(false);
  EXPECT_FALSE(Send({{"type", "scroll"}, {"action", "pagedown"}}));
  form->grid->SetVisible(true);
  EXPECT_EQ(log.size(), 4u);
  // Behind a modal form and while a message box is open.
  fw::TForm* dialog = nullptr;
  fw::Application().CreateForm(dialog);
  dialog->SetName("frmModal");
  fw::Application().Post([&] {
    EXPECT_FALSE(Send({{"type", "wheel"}, {"delta", 1}}));
    dialog->SetModalResult(fw::mrOk);
  });
  dialog->ShowModal();
  delete dialog;
  fw::Application().Post([&] {
    EXPECT_FALSE(Send({{"type", "scroll"}, {"action", "position"}, {"recNo", 9}}));
    EXPECT_TRUE(decoder.Apply({{"type", "answer"}, {"id", 1}, {"result", "ok"}}));
  });
  interaction.MessageDlg("Aviso", fw::TMsgDlgType::mtWarning, fw::mbOK, 0);
  EXPECT_TRUE(form->scrolls.empty());
  EXPECT_EQ(form->grid->DataSet()->RecNo(), 1);
}

TEST(Palette, SystemColoursMapToTheClassicPalette) {
  EXPECT_EQ(CssColor(fw::clInfoBk), "#ffffe1");
  EXPECT_EQ(CssColor(fw::clOlive), "#808000");
  EXPECT_EQ(CssColor(fw::RGB(0x12, 0x34, 0x56)), "#123456");
}

TEST(DisplayServer, ANewPageTakesTheSessionOver) {
  DisplayServer server(DISPLAY_WEB_DIR);
  int port = server.Start(0);
  const httplib::Headers cookie{{"Cookie", server.Guard().CookieName() + "=" + server.Guard().Key()}};
  httplib::Client client("127.0.0.1", port);
  client.set_default_headers(cookie);
  client.set_read_timeout(2, 0);
  std::string first;
  // Read the first page's hello, then let a second page take over.
  std::thread reader([&] {
    client.Get("/events", [&](const char* data, size_t size) {
      first.append(data, size);
      return first.find("takeover") == std::string::npos && first.size() < 100000;
    });
  });
  for (int i = 0; i < 200 && first.find("session") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::string session = first.substr(first.find("\"session\":\"") + 11);
  session = session.substr(0, session.find('"'));
  httplib::Client second("127.0.0.1", port);
  second.set_default_headers(cookie);
  second.set_read_timeout(1, 0);
  std::string other;
  std::thread secondReader([&] {
    second.Get("/events", [&](const char* d, size_t n) {
      other.append(d, n);
      return other.find("hello") == std::string::npos;
    });
  });
  reader.join();
  secondReader.join();
  EXPECT_NE(first.find("event: takeover"), std::string::npos);
  json body = {{"session", session}, {"event", {{"type", "activate"}, {"form", "x"}}}};
  httplib::Client poster("127.0.0.1", port);
  poster.set_default_headers(cookie);
  auto res = poster.Post("/input", body.dump(), "application/json");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 409);
  auto bad = poster.Post("/input", "{nada", "application/json");
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->status, 400);
  server.Stop();
  fw::Application().ProcessMessages();
}

}  // namespace
}  // namespace display
