#include "library/key_help.h"

#include <functional>

#include "forms/db_grid.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/keys.h"
#include "forms/menus.h"
#include "library/date_edit_plus.h"

namespace fw {
namespace {

struct Held {
  bool edits = false, grids = false, dates = false;
};

void Look(const TControl& parent, Held& held) {
  for (const TControl* c : parent.Controls()) {
    held.edits = held.edits || dynamic_cast<const TCustomEdit*>(c);
    held.grids = held.grids || dynamic_cast<const TDBGrid*>(c);
    held.dates = held.dates || dynamic_cast<const TDateEditPlus*>(c);
    Look(*c, held);
  }
}

void ShortCuts(const TMenuItem& item, std::vector<std::string>& lines) {
  for (const TMenuItem* child : item.Items()) {
    if (!child->Visible()) continue;
    if (child->ShortCut.Key != 0) lines.push_back(ShortCutToText(child->ShortCut) + ": " + child->PlainCaption());
    ShortCuts(*child, lines);
  }
}

}  // namespace

std::string KeyHelp(const TForm& form, const std::vector<std::string>& extra) {
  Held held;
  Look(form, held);
  std::vector<std::string> lines = {"Tab / Shift+Tab: próximo / anterior campo",
                                    "Alt+letra sublinhada: aciona o botão, a opção ou o menu"};
  if (held.edits)
    lines.push_back("Setas, Home, End (com Shift, seleciona); Ctrl+A: seleciona tudo; "
                    "Ctrl+C, Ctrl+X, Ctrl+V: copia, recorta, cola");
  if (held.dates) lines.push_back("Alt+Seta para baixo: abre o calendário da data");
  if (held.grids)
    lines.push_back("Setas, PageUp, PageDown, Ctrl+Home, Ctrl+End: movem na lista; "
                    "Shift+roda do mouse: rola para os lados");
  if (form.Menu) ShortCuts(form.Menu->Items(), lines);
  lines.insert(lines.end(), extra.begin(), extra.end());
  std::string text = "Teclas desta tela:";
  for (const std::string& line : lines) text += "\n" + line;
  return text;
}

}  // namespace fw
