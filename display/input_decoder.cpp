#include "display/input_decoder.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "display/display_interaction.h"
#include "forms/application.h"
#include "forms/db_grid.h"
#include "forms/menus.h"
#include "forms/page_control.h"
#include "library/date_edit_plus.h"

namespace display {
namespace {

using nlohmann::json;

fw::TForm* FindForm(const std::string& name) {
  for (fw::TForm* f : fw::Screen().Forms())
    if (f->Name() == name) return f;
  return nullptr;
}

// The form that takes input now: the last visible modal form, if any.
fw::TForm* ModalForm() {
  fw::TForm* modal = nullptr;
  for (fw::TForm* f : fw::Screen().Forms())
    if (f->Modal() && f->Visible()) modal = f;
  return modal;
}

fw::TShiftState ShiftOf(const json& event) {
  fw::TShiftState shift = 0;
  if (auto it = event.find("shift"); it != event.end() && it->is_array())
    for (const json& s : *it) {
      if (s == "ctrl") shift |= fw::ssCtrl;
      if (s == "shift") shift |= fw::ssShift;
      if (s == "alt") shift |= fw::ssAlt;
    }
  return shift;
}

std::string Str(const json& event, const char* key) {
  auto it = event.find(key);
  return it != event.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// A whole number field; 0 when missing or not a number. Values beyond
// what a control could mean are clamped (converting them unchecked to int
// would be undefined).
int Int(const json& event, const char* key) {
  constexpr double kLimit = 1e9;
  auto it = event.find(key);
  if (it == event.end() || !it->is_number()) return 0;
  double value = it->get<double>();
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// Text from the page quoted in the log: cut short, control characters
// shown as '?', so an event cannot forge or flood log lines.
std::string Quoted(const std::string& text) {
  constexpr size_t kMax = 40;
  std::string out = text.substr(0, kMax);
  for (char& ch : out)
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ch = '?';
  return "'" + out + (text.size() > kMax ? "...'" : "'");
}

// Wheel notches in one event: more than a flick of the wheel can give.
constexpr int kMaxNotches = 100;

std::optional<fw::TGridScroll> ScrollCode(const std::string& action) {
  static const std::pair<const char*, fw::TGridScroll> kActions[] = {
      {"lineup", fw::TGridScroll::sbLineUp},     {"linedown", fw::TGridScroll::sbLineDown},
      {"pageup", fw::TGridScroll::sbPageUp},     {"pagedown", fw::TGridScroll::sbPageDown},
      {"position", fw::TGridScroll::sbPosition}};
  for (auto [name, code] : kActions)
    if (action == name) return code;
  return std::nullopt;
}

}  // namespace

bool InputDecoder::Refuse(const std::string& why) {
  if (Log) Log("entrada recusada: " + why);
  return false;
}

bool InputDecoder::Apply(const json& event) {
  if (!event.is_object()) return Refuse("evento não é um objeto");
  std::string type = Str(event, "type");
  if (type == "answer") {
    long id = event.value("id", -1L);
    return interaction_.Answer(id, Str(event, "result")) || Refuse("caixa de mensagem inexistente");
  }
  if (type == "pick") {
    long id = event.value("id", -1L);
    std::vector<std::string> keys;
    if (auto it = event.find("keys"); it != event.end() && it->is_array())
      for (const json& k : *it)
        if (k.is_string()) keys.push_back(k);
    return interaction_.Pick(id, keys, event.value("cancel", false)) ||
           Refuse("lista de pesquisa inexistente");
  }
  if (interaction_.Open()) return Refuse("há uma caixa aberta");
  return ApplyToForm(type, event);
}

bool InputDecoder::ApplyToForm(const std::string& type, const json& event) {
  fw::TForm* form = FindForm(Str(event, "form"));
  if (!form || !form->Visible()) return Refuse("janela inexistente ou oculta");
  if (fw::TForm* modal = ModalForm(); modal && modal != form) return Refuse("janela atrás de outra modal");
  if (type == "key") {
    fw::TKey key = static_cast<fw::TKey>(Int(event, "key"));
    form->KeyDown(key, ShiftOf(event));
    return true;
  }
  if (type == "char") {
    std::string text = Str(event, "text");
    form->KeyPress(text);
    return true;
  }
  if (type == "activate") {
    form->Show();
    return true;
  }
  if (type == "close") {
    form->Close();
    return true;
  }
  std::string name = Str(event, "name");
  if (type == "menu") {
    auto* item = dynamic_cast<fw::TMenuItem*>(form->FindComponent(name));
    if (!item || !item->Usable()) return Refuse("item de menu indisponível: " + name);
    item->Click();
    return true;
  }
  auto* control = dynamic_cast<fw::TControl*>(form->FindComponent(name));
  if (!control || control->ParentForm() != form) return Refuse("controle inexistente: " + name);
  if (!control->Showing() || !control->Usable()) return Refuse("controle indisponível: " + name);
  if (type == "click") {
    control->MouseClick(Int(event, "x"), Int(event, "y"));
    return true;
  }
  if (type == "focus") {
    control->SetFocus();
    return true;
  }
  if (type == "wheel" || type == "scroll") return ApplyToGrid(type, *control, event);
  if (type == "pickdate") return ApplyPickDate(*control, event);
  if (type == "tab") {
    auto* pages = dynamic_cast<fw::TPageControl*>(control);
    auto* sheet = dynamic_cast<fw::TTabSheet*>(form->FindComponent(Str(event, "page")));
    if (!pages || !sheet || sheet->PageControl() != pages) return Refuse("aba inexistente");
    pages->TabClick(*sheet);
    return true;
  }
  return Refuse("tipo de evento desconhecido: " + type);
}

bool InputDecoder::ApplyToGrid(const std::string& type, fw::TControl& control, const json& event) {
  auto* grid = dynamic_cast<fw::TDBGrid*>(&control);
  if (!grid) return Refuse("controle sem barra de rolagem: " + control.Name());
  if (type == "wheel") {
    grid->MouseWheel(std::clamp(Int(event, "delta"), -kMaxNotches, kMaxNotches));
    return true;
  }
  std::optional<fw::TGridScroll> code = ScrollCode(Str(event, "action"));
  if (!code) return Refuse("rolagem desconhecida: " + Str(event, "action"));
  grid->Scroll(*code, Int(event, "recNo"));
  return true;
}

bool InputDecoder::ApplyPickDate(fw::TControl& control, const json& event) {
  auto* edit = dynamic_cast<fw::TDateEditPlus*>(&control);
  if (!edit) return Refuse("controle sem calendário: " + control.Name());
  std::string date = Str(event, "date");
  if (!fw::TDateEditPlus::IsPickedDate(date)) return Refuse("data inválida: " + Quoted(date));
  if (!edit->PickDate(date)) return Refuse("data não aceita por " + control.Name());
  return true;
}

}  // namespace display
