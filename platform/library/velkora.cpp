#include "library/velkora.h"

#include <utility>

#include "base/errors.h"

namespace Velkora {
namespace {

THostFacts& Facts() {
  static THostFacts facts;
  return facts;
}

TModuleLoader& Loader() {
  static TModuleLoader loader;
  return loader;
}

// Digits of each level of a picture: the runs of data positions between
// literals, in the picture part of the mask (before the first ';').
std::vector<int> LevelsOf(const std::string& mask) {
  std::vector<int> levels;
  int run = 0;
  for (char c : mask.substr(0, mask.find(';'))) {
    if (c == '9' || c == '0' || c == '#') {
      ++run;
    } else if (run > 0) {
      levels.push_back(run);
      run = 0;
    }
  }
  if (run > 0) levels.push_back(run);
  return levels;
}

}  // namespace

void SetHostFacts(const THostFacts& facts) { Facts() = facts; }
const THostFacts& HostFacts() { return Facts(); }

std::string Operador() { return Facts().Operador; }
std::string FiliProc() { return Facts().FiliProc; }
std::string NomeFiliProc() { return Facts().NomeFiliProc; }
bool ModuFili() { return Facts().ModuFili; }
std::string WebURL() { return Facts().WebURL; }
int WebPort() { return Facts().WebPort; }
std::string WebToken() { return Facts().WebToken; }

std::string DBPict(int pictureType) {
  switch (pictureType) {
    case ptProduto: return "99.99.999;0;_";
  }
  throw fw::Exception("Tipo de máscara " + std::to_string(pictureType) + " desconhecido.");
}

TPictObj DBPictObj(int pictureType) {
  TPictObj pict;
  pict.Mascara = DBPict(pictureType);
  pict.TamNiveis = LevelsOf(pict.Mascara);
  pict.TtNiveis = static_cast<int>(pict.TamNiveis.size());
  for (int digits : pict.TamNiveis) pict.TtDigitos += digits;
  return pict;
}

TModuleLoader SetModuleLoader(TModuleLoader loader) {
  return std::exchange(Loader(), std::move(loader));
}

void LoadBPL(const std::string& moduleCode, const std::string& param) {
  if (moduleCode.find_first_not_of(' ') == std::string::npos)
    throw fw::Exception("Módulo não informado.");
  // A copy: the loader may install another one while it runs.
  TModuleLoader loader = Loader();
  if (!loader) throw fw::Exception("Módulo " + moduleCode + " não encontrado.");
  loader(moduleCode, param);
}

}  // namespace Velkora
