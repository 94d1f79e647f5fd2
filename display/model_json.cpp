#include "display/model_json.h"

#include "display/font_metrics.h"
#include "display/grid_json.h"
#include "display/json_writer.h"
#include "display/palette.h"
#include "forms/buttons.h"
#include "forms/check_boxes.h"
#include "forms/combo_box.h"
#include "forms/containers.h"
#include "forms/db_grid.h"
#include "forms/db_navigator.h"
#include "forms/edit.h"
#include "forms/memo.h"
#include "forms/menus.h"
#include "forms/page_control.h"
#include "forms/radio_group.h"
#include "forms/static_controls.h"
#include "library/db_date_edit_plus.h"

namespace display {
namespace {

using nlohmann::json;

const char* AlignmentName(fw::TAlignment a) {
  switch (a) {
    case fw::TAlignment::taRightJustify: return "right";
    case fw::TAlignment::taCenter: return "center";
    default: return "left";
  }
}

const char* BevelName(fw::TBevelCut b) {
  switch (b) {
    case fw::TBevelCut::bvRaised: return "raised";
    case fw::TBevelCut::bvLowered: return "lowered";
    default: return "none";
  }
}

json MenuJson(const fw::TMenuItem& item) {
  json items = json::array();
  for (const fw::TMenuItem* child : item.Items()) items.push_back(MenuJson(*child));
  return {{"name", item.Name()},       {"caption", item.Caption()},
          {"enabled", item.Enabled()}, {"visible", item.Visible()},
          {"checked", item.Checked()}, {"separator", item.IsSeparator()},
          {"shortcut", fw::ShortCutToText(item.ShortCut)}, {"items", items}};
}

json StringsJson(const std::vector<std::string>& lines) { return lines; }

void WriteStrings(JsonWriter& w, const std::vector<std::string>& lines) {
  w.Open('[');
  for (const std::string& line : lines) w.Item().Str(line);
  w.Close(']');
}

// The props of the kinds met on every update (the screens' panels,
// labels, pages and edits), written straight; false for the others
// (OtherPropsOf).
bool WriteProps(JsonWriter& w, fw::TControl& c) {
  if (auto* e = dynamic_cast<fw::TCustomEdit*>(&c)) {
    if (dynamic_cast<fw::TComboBox*>(&c) || dynamic_cast<fw::TDateEditPlus*>(&c) ||
        dynamic_cast<fw::TDBDateEditPlus*>(&c))
      return false;
    w.Open('{').Key("text").Str(e->EditText()).Key("readOnly").Bool(e->ReadOnly());
    w.Key("selStart").Int(e->SelStart()).Key("selLength").Int(e->SelLength());
    w.Key("caret").Int(e->CaretPos()).Key("textLeft").Int(e->TextLeft()).Close('}');
  } else if (auto* cb = dynamic_cast<fw::TCheckBox*>(&c)) {
    w.Open('{').Key("checked").Bool(cb->Checked()).Close('}');
  } else if (auto* rb = dynamic_cast<fw::TRadioButton*>(&c)) {
    w.Open('{').Key("checked").Bool(rb->Checked()).Close('}');
  } else if (auto* rg = dynamic_cast<fw::TRadioGroup*>(&c)) {
    w.Open('{').Key("items");
    WriteStrings(w, rg->Items.Lines());
    w.Key("itemIndex").Int(rg->ItemIndex()).Key("columns").Int(rg->Columns()).Close('}');
  } else if (auto* label = dynamic_cast<fw::TLabel*>(&c)) {
    w.Open('{').Key("alignment").Str(AlignmentName(label->Alignment())).Close('}');
  } else if (auto* panel = dynamic_cast<fw::TPanel*>(&c)) {
    w.Open('{').Key("bevelOuter").Str(BevelName(panel->BevelOuter()));
    w.Key("bevelInner").Str(BevelName(panel->BevelInner())).Close('}');
  } else if (auto* pages = dynamic_cast<fw::TPageControl*>(&c)) {
    w.Open('{').Key("pages").Open('[');
    for (int i = 0; i < pages->PageCount(); ++i) {
      fw::TTabSheet& sheet = pages->Pages(i);
      w.Item().Open('{').Key("name").Str(sheet.Name()).Key("caption").Str(sheet.Caption());
      w.Key("tabVisible").Bool(sheet.TabVisible()).Key("enabled").Bool(sheet.Enabled()).Close('}');
    }
    w.Close(']').Key("active");
    if (pages->ActivePage()) w.Str(pages->ActivePage()->Name());
    else w.Null();
    w.Key("tabHeight").Int(pages->TabHeight).Close('}');
  } else if (auto* nav = dynamic_cast<fw::TDBNavigator*>(&c)) {
    static const char* kNames[] = {"first", "prior", "next", "last"};
    w.Open('{').Key("buttons").Open('[');
    for (int i = 0; i < fw::kNavigatorButtons; ++i) {
      w.Item().Open('{').Key("name").Str(kNames[i]);
      w.Key("enabled").Bool(nav->ButtonEnabled(static_cast<fw::TNavigateBtn>(i))).Close('}');
    }
    w.Close(']').Close('}');
  } else if (dynamic_cast<fw::TTabSheet*>(&c)) {
    w.Raw("{}");
  } else {
    return false;
  }
  return true;
}


// The props of the kinds WriteProps does not write, as a document.
json OtherPropsOf(fw::TControl& c) {
  if (auto* e = dynamic_cast<fw::TCustomEdit*>(&c)) {
    json p = {{"text", e->EditText()}, {"readOnly", e->ReadOnly()}, {"selStart", e->SelStart()},
              {"selLength", e->SelLength()}, {"caret", e->CaretPos()}, {"textLeft", e->TextLeft()}};
    if (auto* combo = dynamic_cast<fw::TComboBox*>(&c)) {
      p["items"] = StringsJson(combo->Items.Lines());
      p["itemIndex"] = combo->ItemIndex();
    }
    if (auto* dep = dynamic_cast<fw::TDateEditPlus*>(&c)) p["dayNames"] = dep->DayNames;
    if (auto* dbp = dynamic_cast<fw::TDBDateEditPlus*>(&c)) p["dayName"] = dbp->DayName();
    return p;
  }
  if (auto* sb = dynamic_cast<fw::TSpeedButton*>(&c))
    return {{"glyph", sb->Glyph().Empty() ? json(nullptr) : BitmapJson(sb->Glyph())},
            {"numGlyphs", sb->NumGlyphs()}, {"flat", sb->Flat()}, {"down", sb->Down()}};
  if (dynamic_cast<fw::TButton*>(&c)) return {{"glyph", nullptr}, {"numGlyphs", 1}, {"flat", false}, {"down", false}};
  if (auto* img = dynamic_cast<fw::TImage*>(&c))
    return {{"picture", BitmapJson(img->Picture())}, {"transparent", img->Transparent()}};
  if (auto* memo = dynamic_cast<fw::TMemo*>(&c))
    return {{"text", memo->Text()}, {"readOnly", memo->ReadOnly()}};
  if (auto* grid = dynamic_cast<fw::TDBGrid*>(&c)) return GridJson(*grid);
  return json::object();
}

// Kind-specific state; an empty object when the kind has none.
json PropsOf(fw::TControl& c) {
  JsonWriter w;
  return WriteProps(w, c) ? json::parse(w.Out()) : OtherPropsOf(c);
}

}  // namespace

json FontJson(const fw::TFont& font) {
  return {{"name", font.Name}, {"size", font.Size}, {"px", PixelSize(font.Size)},
          {"bold", font.Bold}, {"color", CssColor(font.Color)}};
}

json BitmapJson(const fw::TBitmap& bitmap) {
  json pixels = json::array();
  for (fw::TColor c : bitmap.Pixels()) pixels.push_back(RgbOf(c));
  return {{"w", bitmap.Width()}, {"h", bitmap.Height()}, {"pixels", pixels}};
}

namespace {

const char* StyleName(const fw::TForm& form) {
  return form.FormStyle == fw::TFormStyle::fsMDIChild  ? "mdichild"
         : form.FormStyle == fw::TFormStyle::fsMDIForm ? "mdiform"
                                                       : "normal";
}

const char* StateName(fw::TForm& form) {
  return form.WindowState() == fw::TWindowState::wsMinimized   ? "minimized"
         : form.WindowState() == fw::TWindowState::wsMaximized ? "maximized"
                                                               : "normal";
}

}  // namespace

json FormJson(fw::TForm& form) {
  const char* style = StyleName(form);
  const char* state = StateName(form);
  json menu = nullptr;
  if (form.Menu) {
    menu = json::array();
    for (const fw::TMenuItem* item : form.Menu->Items().Items()) menu.push_back(MenuJson(*item));
  }
  fw::TRect b = form.BoundsRect();
  return {{"name", form.Name()},
          {"caption", form.Caption()},
          {"bounds", {b.Left, b.Top, b.Width(), b.Height()}},
          {"visible", form.Visible()},
          {"active", form.Active()},
          {"modal", form.Modal()},
          {"style", style},
          {"state", state},
          {"focus", form.ActiveControl() ? json(form.ActiveControl()->Name()) : json(nullptr)},
          {"color", CssColor(form.Color())},
          {"menu", menu}};
}

json ControlJson(fw::TForm& form, fw::TControl& control) {
  fw::TRect b = control.BoundsRect();
  fw::TControl* parent = control.Parent();
  return {{"form", form.Name()},
          {"name", control.Name()},
          {"parent", parent && parent != &form ? json(parent->Name()) : json(nullptr)},
          {"kind", control.Kind()},
          {"bounds", {b.Left, b.Top, b.Width(), b.Height()}},
          {"visible", control.Visible()},
          {"enabled", control.Enabled()},
          {"usable", control.Usable()},
          {"caption", control.Caption()},
          {"color", CssColor(control.Color())},
          {"font", FontJson(control.Font())},
          {"hint", control.Hint},
          {"tabOrder", control.TabOrder},
          {"focused", control.Focused()},
          {"props", PropsOf(control)}};
}

namespace {

void WriteMenu(JsonWriter& w, const fw::TMenuItem& item) {
  w.Open('{').Key("name").Str(item.Name()).Key("caption").Str(item.Caption());
  w.Key("enabled").Bool(item.Enabled()).Key("visible").Bool(item.Visible());
  w.Key("checked").Bool(item.Checked()).Key("separator").Bool(item.IsSeparator());
  w.Key("shortcut").Str(fw::ShortCutToText(item.ShortCut)).Key("items").Open('[');
  for (const fw::TMenuItem* child : item.Items()) {
    w.Item();
    WriteMenu(w, *child);
  }
  w.Close(']').Close('}');
}

}  // namespace

std::string FormText(fw::TForm& form) {
  fw::TRect b = form.BoundsRect();
  JsonWriter w;
  w.Open('{').Key("name").Str(form.Name()).Key("caption").Str(form.Caption());
  w.Key("bounds").Raw("[").Int(b.Left).Raw(",").Int(b.Top).Raw(",").Int(b.Width()).Raw(",");
  w.Int(b.Height()).Raw("]").Key("visible").Bool(form.Visible()).Key("active").Bool(form.Active());
  w.Key("modal").Bool(form.Modal()).Key("style").Str(StyleName(form));
  w.Key("state").Str(StateName(form)).Key("focus");
  if (form.ActiveControl()) w.Str(form.ActiveControl()->Name());
  else w.Null();
  w.Key("color").Str(CssColor(form.Color())).Key("menu");
  if (!form.Menu) {
    w.Null();
  } else {
    w.Open('[');
    for (const fw::TMenuItem* item : form.Menu->Items().Items()) {
      w.Item();
      WriteMenu(w, *item);
    }
    w.Close(']');
  }
  w.Close('}');
  return std::move(w.Out());
}

std::string ControlFrame(fw::TForm& form, fw::TControl& control) {
  fw::TRect b = control.BoundsRect();
  fw::TControl* parent = control.Parent();
  JsonWriter w;
  w.Open('{').Key("form").Str(form.Name()).Key("name").Str(control.Name()).Key("parent");
  if (parent && parent != &form) w.Str(parent->Name());
  else w.Null();
  w.Key("kind").Str(control.Kind()).Key("bounds").Raw("[").Int(b.Left).Raw(",").Int(b.Top);
  w.Raw(",").Int(b.Width()).Raw(",").Int(b.Height()).Raw("]");
  w.Key("visible").Bool(control.Visible()).Key("enabled").Bool(control.Enabled());
  w.Key("usable").Bool(control.Usable()).Key("caption").Str(control.Caption());
  w.Key("color").Str(CssColor(control.Color())).Key("font");
  WriteFont(w, control.Font());
  w.Key("hint").Str(control.Hint).Key("tabOrder").Int(control.TabOrder);
  w.Key("focused").Bool(control.Focused()).Key("props");
  return std::move(w.Out());
}

std::string ControlText(fw::TForm& form, fw::TControl& control) {
  JsonWriter w;
  w.Raw(ControlFrame(form, control));
  // The kinds with much to write are written straight; the others'
  // props are small documents.
  if (auto* grid = dynamic_cast<fw::TDBGrid*>(&control)) {
    w.Raw(GridText(*grid));
  } else if (auto* sb = dynamic_cast<fw::TSpeedButton*>(&control)) {
    w.Open('{').Key("glyph");
    if (sb->Glyph().Empty()) w.Null();
    else w.Raw(KeptBitmapText(sb->Glyph()));
    w.Key("numGlyphs").Int(sb->NumGlyphs()).Key("flat").Bool(sb->Flat()).Key("down").Bool(sb->Down());
    w.Close('}');
  } else if (auto* img = dynamic_cast<fw::TImage*>(&control)) {
    w.Open('{').Key("picture").Raw(KeptBitmapText(img->Picture()));
    w.Key("transparent").Bool(img->Transparent()).Close('}');
  } else if (!WriteProps(w, control)) {
    w.Raw(OtherPropsOf(control).dump(-1, ' ', false, json::error_handler_t::replace));
  }
  w.Close('}');
  return std::move(w.Out());
}

}  // namespace display
