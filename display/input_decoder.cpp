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

// A whole number field: `missing` when absent, nothing when present but
// not a number (or absent with no default), so the event is refused.
// Values beyond what a control could mean are clamped (converting them
// unchecked to int would be undefined).
std::optional<int> Int(const json& event, const char* key, std::optional<int> missing = 0) {
  constexpr double kLimit = 1e9;
  auto it = event.find(key);
  if (it == event.end()) return missing;
  if (!it->is_number()) return std::nullopt;
  double value = it->get<double>();
  if (std::isnan(value)) return std::nullopt;
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

// A field of the event as the log shows it.
std::string Shown(const json& event, const char* key) {
  auto it = event.find(key);
  if (it == event.end()) return "ausente";
  return Quoted(it->is_string() ? it->get<std::string>() : it->dump());
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
  if (type == "answer" || type == "pick") {
    std::optional<int> id = Int(event, "id", std::nullopt);
    if (!id) return Refuse("identificador não numérico em " + type + ": " + Shown(event, "id"));
    if (type == "answer")
      return interaction_.Answer(*id, Str(event, "result")) || Refuse("caixa de mensagem inexistente");
    auto cancel = event.find("cancel");
    if (cancel != event.end() && !cancel->is_boolean()) return Refuse("\"cancel\" não é lógico: " + Shown(event, "cancel"));
    std::vector<std::string> keys;
    if (auto it = event.find("keys"); it != event.end() && it->is_array())
      for (const json& k : *it)
        if (k.is_string()) keys.push_back(k);
    return interaction_.Pick(*id, keys, cancel != event.end() && cancel->get<bool>()) ||
           Refuse("lista de pesquisa inexistente");
  }
  // The browser's size reaches the main window whatever is open over it.
  if (type == "viewport") return ApplyViewport(event);
  if (interaction_.Open()) return Refuse("há uma caixa aberta");
  return ApplyToForm(type, event);
}

bool InputDecoder::ApplyViewport(const json& event) {
  std::optional<int> width = Int(event, "width"), height = Int(event, "height");
  if (!width || !height) return Refuse("tamanho não numérico da janela principal");
  fw::TForm* main = nullptr;
  for (fw::TForm* f : fw::Screen().Forms())
    if (f->FormStyle == fw::TFormStyle::fsMDIForm && f->Visible()) main = f;
  if (!main) return Refuse("não há janela principal");
  main->SetBounds(0, 0, std::clamp(*width, kMinWindow, kMaxWindow), std::clamp(*height, kMinWindow, kMaxWindow));
  return true;
}

bool InputDecoder::ApplyPlacement(fw::TForm& form, const json& event) {
  std::string state = Str(event, "state");
  fw::TWindowState code = state == "maximized"   ? fw::TWindowState::wsMaximized
                          : state == "minimized" ? fw::TWindowState::wsMinimized
                                                 : fw::TWindowState::wsNormal;
  if (state != "normal" && state != "maximized" && state != "minimized")
    return Refuse("estado de janela desconhecido: " + Quoted(state));
  if (form.FormStyle != fw::TFormStyle::fsMDIChild) return Refuse("janela sem botões de tamanho: " + form.Name());
  std::optional<fw::TRect> bounds;
  if (auto it = event.find("bounds"); it != event.end()) {
    if (!it->is_array() || it->size() != 4) return Refuse("limites de janela inválidos em " + form.Name());
    int v[4];
    for (int i = 0; i < 4; ++i) {
      if (!(*it)[i].is_number()) return Refuse("limites de janela inválidos em " + form.Name());
      v[i] = static_cast<int>(std::clamp((*it)[i].get<double>(), -1.0 * kMaxWindow, 1.0 * kMaxWindow));
    }
    int w = std::clamp(v[2], kMinWindow, kMaxWindow), h = std::clamp(v[3], kMinWindow, kMaxWindow);
    bounds = fw::TRect{v[0], v[1], v[0] + w, v[1] + h};
  }
  form.SetPlacement(code, bounds);
  return true;
}

bool InputDecoder::ApplyToForm(const std::string& type, const json& event) {
  fw::TForm* form = FindForm(Str(event, "form"));
  if (!form || !form->Visible()) return Refuse("janela inexistente ou oculta");
  if (fw::TForm* modal = ModalForm(); modal && modal != form) return Refuse("janela atrás de outra modal");
  if (type == "key") {
    std::optional<int> key = Int(event, "key", std::nullopt);
    if (!key) return Refuse("tecla não numérica: " + Shown(event, "key"));
    fw::TKey code = static_cast<fw::TKey>(*key);
    form->KeyDown(code, ShiftOf(event));
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
  if (type == "window") return ApplyPlacement(*form, event);
  std::string name = Str(event, "name");
  if (type == "menu") {
    auto* item = dynamic_cast<fw::TMenuItem*>(form->FindComponent(name));
    if (!item || !item->Usable()) return Refuse("item de menu indisponível: " + Quoted(name));
    item->Click();
    return true;
  }
  auto* control = dynamic_cast<fw::TControl*>(form->FindComponent(name));
  if (!control || control->ParentForm() != form) return Refuse("controle inexistente: " + Quoted(name));
  if (!control->Showing() || !control->Usable()) return Refuse("controle indisponível: " + name);
  if (type == "click") {
    std::optional<int> x = Int(event, "x"), y = Int(event, "y");
    if (!x || !y) return Refuse("coordenada não numérica em " + name + ": " + Shown(event, x ? "y" : "x"));
    control->MouseClick(*x, *y);
    return true;
  }
  if (type == "dblclick") {
    std::optional<int> x = Int(event, "x"), y = Int(event, "y");
    if (!x || !y) return Refuse("coordenada não numérica em " + name + ": " + Shown(event, x ? "y" : "x"));
    control->MouseDoubleClick(*x, *y);
    return true;
  }
  if (type == "drag") {
    std::optional<int> x0 = Int(event, "fromX"), y0 = Int(event, "fromY"), x = Int(event, "x"),
                       y = Int(event, "y");
    if (!x0 || !y0 || !x || !y) return Refuse("coordenada não numérica em arrasto de " + name);
    control->MouseDrag(*x0, *y0, *x, *y);
    return true;
  }
  if (type == "focus") {
    control->SetFocus();
    return true;
  }
  if (type == "wheel" || type == "scroll" || type == "hscroll") return ApplyToGrid(type, *control, event);
  if (type == "pickdate") return ApplyPickDate(*control, event);
  if (type == "tab") {
    auto* pages = dynamic_cast<fw::TPageControl*>(control);
    auto* sheet = dynamic_cast<fw::TTabSheet*>(form->FindComponent(Str(event, "page")));
    if (!pages || !sheet || sheet->PageControl() != pages) return Refuse("aba inexistente");
    pages->TabClick(*sheet);
    return true;
  }
  return Refuse("tipo de evento desconhecido: " + Quoted(type));
}

bool InputDecoder::ApplyToGrid(const std::string& type, fw::TControl& control, const json& event) {
  auto* grid = dynamic_cast<fw::TDBGrid*>(&control);
  if (!grid) return Refuse("controle sem barra de rolagem: " + control.Name());
  if (type == "hscroll") {
    std::optional<int> delta = Int(event, "delta");
    if (!delta) return Refuse("deslocamento não numérico em " + control.Name() + ": " + Shown(event, "delta"));
    grid->ScrollColumns(std::clamp(*delta, -kMaxNotches, kMaxNotches));
    return true;
  }
  if (type == "wheel") {
    std::optional<int> delta = Int(event, "delta");
    if (!delta) return Refuse("giro não numérico em " + control.Name() + ": " + Shown(event, "delta"));
    grid->MouseWheel(std::clamp(*delta, -kMaxNotches, kMaxNotches));
    return true;
  }
  std::optional<fw::TGridScroll> code = ScrollCode(Str(event, "action"));
  if (!code) return Refuse("rolagem desconhecida: " + Quoted(Str(event, "action")));
  std::optional<int> recNo = Int(event, "recNo");
  if (!recNo) return Refuse("posição não numérica em " + control.Name() + ": " + Shown(event, "recNo"));
  grid->Scroll(*code, *recNo);
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
