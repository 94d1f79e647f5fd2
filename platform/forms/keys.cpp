#include "forms/keys.h"

#include "base/errors.h"
#include "base/text_case.h"

namespace fw {

TShortCut TextToShortCut(const std::string& text) {
  TShortCut sc;
  std::string rest = text;
  for (auto [prefix, flag] : {std::pair{"CTRL+", ssCtrl}, {"SHIFT+", ssShift}, {"ALT+", ssAlt}}) {
    while (UpperCase(rest.substr(0, std::string(prefix).size())) == prefix) {
      sc.Shift |= flag;
      rest = rest.substr(std::string(prefix).size());
    }
  }
  std::string key = UpperCase(rest);
  if (key.empty()) return {};
  if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
    sc.Key = static_cast<TKey>(key[0]);
  } else if (key[0] == 'F' && key.size() <= 3 && key.find_first_not_of("0123456789", 1) == std::string::npos) {
    int n = std::stoi(key.substr(1));
    if (n < 1 || n > 12) throw Exception("Atalho inválido: " + text);
    sc.Key = static_cast<TKey>(VK_F1 + n - 1);
  } else if (key == "ESC") {
    sc.Key = VK_ESCAPE;
  } else if (key == "DEL") {
    sc.Key = VK_DELETE;
  } else if (key == "ENTER") {
    sc.Key = VK_RETURN;
  } else {
    throw Exception("Atalho inválido: " + text);
  }
  return sc;
}

std::string ShortCutToText(TShortCut sc) {
  if (sc.Empty()) return {};
  std::string text;
  if (sc.Shift & ssCtrl) text += "Ctrl+";
  if (sc.Shift & ssShift) text += "Shift+";
  if (sc.Shift & ssAlt) text += "Alt+";
  if (sc.Key >= VK_F1 && sc.Key < VK_F1 + 12) return text + "F" + std::to_string(sc.Key - VK_F1 + 1);
  if (sc.Key == VK_ESCAPE) return text + "Esc";
  if (sc.Key == VK_DELETE) return text + "Del";
  if (sc.Key == VK_RETURN) return text + "Enter";
  return text + std::string(1, static_cast<char>(sc.Key));
}

}  // namespace fw
